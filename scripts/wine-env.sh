# shellcheck shell=bash
# Sourced, not run: gives the calling shell one wine prefix of its own, so that
# a test run never depends on, nor changes, the user's ~/.wine.
#
#   source scripts/wine-env.sh
#   wine_env_start                           # new prefix, wineserver kept alive
#   wine_env_map_port COM1 /tmp/quolix-com1  # COM1 inside wine is that pty
#   wine build/windows/src/cli/quolix-cli.exe ...
#
# wine_env_start removes the prefix again when the shell exits (an EXIT trap);
# a caller with an EXIT trap of its own calls wine_env_stop from it instead.

# A fresh prefix takes a quarter of a minute and about 700 MB (wine 8 copies
# its DLLs into it), so there is one per run, not one per test. Keeping the
# wineserver alive matters just as much: without it every test program
# starts wine's services again, seconds instead of a tenth of a second each.
wine_env_start() {
    if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
        echo "wine-env: wine is not installed (scripts/install-deps.sh)" >&2
        return 1
    fi
    local started=$SECONDS
    WINE_ENV_PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quolix-wine.XXXXXX") || return 1
    export WINEPREFIX=$WINE_ENV_PREFIX
    # No wine chatter in test output; no Mono or Gecko installer prompts.
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    trap wine_env_stop EXIT
    wine_env_serve_ || return 1
    if ! wineboot -i >/dev/null 2>&1; then
        echo "wine-env: wineboot could not create $WINEPREFIX" >&2
        return 1
    fi
    echo "wine-env: prefix $WINEPREFIX ready in $((SECONDS - started)) s"
}

# wine_env_map_port COMn PATH: inside wine, COMn opens PATH (a pty or its link).
# wine reads HKLM\Software\Wine\Ports only when its device manager starts, so
# the wineserver and wine's services are restarted once here.
wine_env_map_port() {
    local port=$1 device=$2
    if [[ ! $port =~ ^COM[1-9][0-9]*$ || -z $device ]]; then
        echo "wine-env: usage: wine_env_map_port COMn PATH" >&2
        return 1
    fi
    if [[ -z ${WINE_ENV_PREFIX:-} ]]; then
        echo "wine-env: wine_env_start first" >&2
        return 1
    fi
    wine reg add 'HKEY_LOCAL_MACHINE\Software\Wine\Ports' /v "$port" /t REG_SZ \
        /d "$device" /f >/dev/null || return 1
    wineserver -k || true
    wineserver -w
    wine_env_serve_
}

# wine opens a serial device without O_NOCTTY, so a pty becomes the
# wineserver's controlling terminal; when the counter behind it goes away,
# the hang-up makes the server dump its whole object table (thousands of
# lines) on its standard error. That goes to a log in the prefix instead.
wine_env_serve_() {
    wineserver -p 2>>"$WINEPREFIX/wineserver.log"
}

# Ends every wine process of this prefix and removes the prefix; safe to call
# more than once.
wine_env_stop() {
    if [[ -z ${WINE_ENV_PREFIX:-} ]]; then
        return 0
    fi
    WINEPREFIX=$WINE_ENV_PREFIX wineserver -k 2>/dev/null || true
    WINEPREFIX=$WINE_ENV_PREFIX wineserver -w 2>/dev/null
    rm -rf -- "$WINE_ENV_PREFIX"
    # A wine started later must not quietly build a new prefix in its place.
    if [[ ${WINEPREFIX:-} == "$WINE_ENV_PREFIX" ]]; then
        unset WINEPREFIX
    fi
    unset WINE_ENV_PREFIX
}
