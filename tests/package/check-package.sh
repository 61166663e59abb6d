#!/usr/bin/env bash
# Builds the Debian package from a build tree, as `--target package` does but
# into a scratch folder, and checks what a user gets: the control fields, the
# files and where they go, and programs that run from the unpacked tree (the
# render helper found through the installed layout).
#
# check-package.sh BUILD_DIR VERSION GOLDEN_DIR [CPACK]
set -euo pipefail

build=$1
version=$2
golden=$3
cpack=${4:-cpack}

work=$(mktemp -d "${TMPDIR:-/tmp}/quolix-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/out/quolix_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
    echo "FAIL: no $(basename "$deb"); cpack made: $(ls "$work/out")" >&2
    exit 1
fi

# Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
    local value
    value=$(field "$1")
    [ "$value" = "$2" ] || fail "$1 is '$value', expected '$2'"
}
expect_field Package quolix
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section electronics
expect_field Priority optional
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
    fail "Maintainer is not 'Name <address>': $(field Maintainer)"
[ "$(field Description | wc -l)" -ge 3 ] || fail "Description has no long description"

# The package names of a relationship field, without versions.
names() { field "$1" | tr ',|' '\n\n' | sed -e 's/(.*)//' -e 's/ //g' | grep -v '^$'; }
# Computed from the binaries: the Qt libraries the desktop program and the
# render helper link, and the C and C++ runtimes.
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libc6 libstdc++6; do
    names Depends | grep -qxF "$library" || fail "Depends lacks $library: $(field Depends)"
done
names Recommends | grep -qxF fonts-ipafont-gothic ||
    fail "Recommends lacks fonts-ipafont-gothic: $(field Recommends)"

# Contents: every path a user relies on, owned by root, nothing outside /usr.
dpkg-deb --contents "$deb" >"$work/contents"
paths=$(awk '{ print $6 }' "$work/contents")
expected=(
    ./usr/bin/quolix
    ./usr/bin/quolix-cli
    ./usr/bin/quolix-counter-sim
    ./usr/libexec/quolix/quolix-cli-render
    ./usr/share/applications/quolix.desktop
    ./usr/share/mime/packages/quolix-mime.xml
    ./usr/share/icons/hicolor/16x16/apps/quolix.png
    ./usr/share/icons/hicolor/32x32/apps/quolix.png
    ./usr/share/icons/hicolor/scalable/apps/quolix.svg
    ./usr/share/icons/hicolor/16x16/mimetypes/application-x-quolix-document.png
    ./usr/share/icons/hicolor/32x32/mimetypes/application-x-quolix-document.png
    ./usr/share/icons/hicolor/scalable/mimetypes/application-x-quolix-document.svg
    ./usr/share/man/man1/quolix.1.gz
    ./usr/share/man/man1/quolix-cli.1.gz
    ./usr/share/man/man1/quolix-counter-sim.1.gz
    ./usr/share/doc/quolix/copyright
)
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$paths" || fail "missing $path"
done
while read -r line; do
    fail "outside /usr or under /usr/local: $line"
done < <(grep -v -e '^\./$' -e '^\./usr/' <<<"$paths"; grep '^\./usr/local/' <<<"$paths" || true)
while read -r mode owner _ _ _ path; do
    [ "$owner" = root/root ] || fail "$path is owned by $owner"
    case "$mode:$path" in
        -*:./usr/bin/* | -*:./usr/libexec/quolix/*)
            [ "$mode" = -rwxr-xr-x ] || fail "$path has mode $mode" ;;
    esac
done <"$work/contents"

# The unpacked tree: what dpkg would put on disk.
root="$work/root"
dpkg-deb -x "$deb" "$root"
for page in quolix quolix-cli quolix-counter-sim; do
    file="$root/usr/share/man/man1/$page.1.gz"
    if ! gzip -t "$file" 2>/dev/null; then
        fail "$page.1.gz is not gzip data"
    elif ! zcat "$file" | grep -q "^\.TH \"$page\" \"1\""; then
        fail "$page.1.gz is not the manual page $page(1)"
    fi
done
grep -q '^Copyright: .*Quolix' "$root/usr/share/doc/quolix/copyright" ||
    fail "copyright file names no holder"
if ! desktop-file-validate "$root/usr/share/applications/quolix.desktop"; then
    fail "desktop entry does not validate"
fi
grep -qx 'Actions=Print;' "$root/usr/share/applications/quolix.desktop" ||
    fail "desktop entry has no Print action"

# Programs run from the unpacked tree, without a display.
for program in quolix quolix-cli quolix-counter-sim; do
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$root/usr/bin/$program" --version 2>&1) || fail "$program --version failed: $said"
    [ "$said" = "$program $version" ] || fail "$program --version said '$said'"
done
# render finds its helper through the installed layout (../libexec/quolix).
if ! "$root/usr/bin/quolix-cli" --settings "$work/quolix.ini" render \
    "$golden/one-sample.qlx" -o "$work/graph.png" >"$work/render.log" 2>&1; then
    fail "render from the unpacked tree failed: $(cat "$work/render.log")"
elif [ "$(head -c 8 "$work/graph.png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "render from the unpacked tree wrote no PNG"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed on $(basename "$deb")" >&2
    exit 1
fi
echo "$(basename "$deb"): control fields, $(wc -l <"$work/contents") entries and the unpacked programs are as expected"
