#include "counter-sim/SimOptions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace quolix {

namespace {

// Limits that keep every derived quantity finite and the arithmetic exact
// enough; readings are clamped to 8 characters anyway.
constexpr double MaxAbsFrequency = 1e12;
constexpr double MaxAbsDrift = 1e6;
constexpr double MaxNoise = 1e9;
constexpr int MaxLateMs = 60'000;
constexpr double MaxOutageSeconds = 1e7;

bool ParseDouble(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || end != last || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

template <typename Int>
bool ParseInteger(const std::string& text, Int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    Int parsed{};
    const auto [end, ec] = std::from_chars(first, last, parsed);
    if (text.empty() || ec != std::errc() || end != last) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseProbability(const std::string& text, double& value) {
    double parsed = 0.0;
    if (!ParseDouble(text, parsed) || parsed < 0.0 || parsed > 1.0) {
        return false;
    }
    value = parsed;
    return true;
}

// Applies one option that takes a value; an empty optional means "not an
// option of ours", a false one "bad value".
std::optional<bool> ApplyValue(const std::string& name, const std::string& value,
                               SimOptions& options) {
    ModelConfig& model = options.model;
    if (name == "--link") {
        options.linkPath = value;
        return !value.empty();
    }
    if (name == "--script") {
        options.scriptPath = value;
        return !value.empty();
    }
    for (const auto& [option, seconds] : {std::pair{"--vanish-at", &options.vanishAt},
                                          std::pair{"--vanish-for", &options.vanishFor},
                                          std::pair{"--silent-at", &options.silentAt},
                                          std::pair{"--silent-for", &options.silentFor}}) {
        if (name == option) {
            return ParseDouble(value, *seconds) && *seconds >= 0 && *seconds <= MaxOutageSeconds;
        }
    }
    if (name == "--freq-hz") {
        return ParseDouble(value, model.freqHz) && std::fabs(model.freqHz) <= MaxAbsFrequency;
    }
    if (name == "--resolution") {
        return ParseInteger(value, model.resolution) && model.resolution >= 0 &&
               model.resolution <= 2;
    }
    if (name == "--drift-ppm-per-hour") {
        return ParseDouble(value, model.driftPpmPerHour) &&
               std::fabs(model.driftPpmPerHour) <= MaxAbsDrift;
    }
    if (name == "--noise") {
        return ParseDouble(value, model.noiseCounts) && model.noiseCounts >= 0.0 &&
               model.noiseCounts <= MaxNoise;
    }
    if (name == "--drop") {
        return ParseProbability(value, model.dropProbability);
    }
    if (name == "--malformed") {
        return ParseProbability(value, model.malformedProbability);
    }
    if (name == "--late") {
        return ParseProbability(value, model.lateProbability);
    }
    if (name == "--late-ms") {
        return ParseInteger(value, model.lateMs) && model.lateMs >= 0 && model.lateMs <= MaxLateMs;
    }
    if (name == "--seed") {
        return ParseInteger(value, model.seed);
    }
    return std::nullopt;
}

}  // namespace

SimOptions::Status SimOptions::Parse(const std::vector<std::string>& args, SimOptions& options,
                                     std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return Status::Help;
        }
        if (arg == "--version") {
            return Status::Version;
        }
        if (arg.rfind("--", 0) != 0) {
            error = "unexpected argument '" + arg + "'";
            return Status::Invalid;
        }
        std::string name = arg;
        std::string value;
        const size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[i + 1];
        }
        const std::optional<bool> applied = ApplyValue(name, value, options);
        if (!applied.has_value()) {
            error = "unknown option '" + name + "'";
            return Status::Invalid;
        }
        if (equals == std::string::npos && i + 1 >= args.size()) {
            error = "option " + name + " needs a value";
            return Status::Invalid;
        }
        if (!*applied) {
            error = "invalid value '" + value + "' for " + name;
            return Status::Invalid;
        }
        if (equals == std::string::npos) {
            ++i;
        }
    }
    return Status::Run;
}

std::string SimOptions::Usage() {
    return R"(Usage: quolix-counter-sim [OPTION]...
A frequency counter on a pseudo-terminal. The terminal's slave is linked to
PATH; every carriage return received there is answered with an 8-character
reading ("%08d", from -9999999 to 99999999) followed by CR LF. On start the
line "PATH -> SLAVE" is printed. SIGINT, SIGTERM or SIGHUP removes the link
and ends the program with status 0.

Options (each also as --name=value):
  --link PATH              where to link the slave (default /tmp/quolix-com1);
                           an existing symbolic link there is replaced,
                           anything else is refused
  --freq-hz F              centre frequency in Hz (default 10000000;
                           at most 1e12 either way)
  --resolution R           0: one count is 100 Hz (default), 1: 10 Hz, 2: 1 Hz
  --drift-ppm-per-hour D   linear drift since start, in ppm per hour
                           (default 0): F * D * 1e-6 * hours
  --noise S                white noise, standard deviation in counts (default 0)
  --drop P                 probability that a request gets no reply (default 0)
  --malformed P            probability that a reply has 7 or 9 characters
                           instead of 8 (default 0)
  --late P                 probability that a reply is held back (default 0)
  --late-ms MS             how long a late reply is held back (default 500,
                           at most 60000)
  --seed N                 seed of the random generator (default 1); the same
                           seed gives the same readings and faults
  --script FILE            play canned replies instead of the model: one reply
                           per request, one per line, sent as written (no
                           CR LF added); escapes \r \n \t \\ \xHH; an empty
                           line sends nothing; after the last line the
                           counter stays silent. The fault options do not
                           apply to scripted replies.
  --vanish-at S            S seconds after the start the counter vanishes:
                           the pseudo-terminal is closed, as when an adapter
                           is pulled; it comes back as a new pseudo-terminal
                           linked at the same PATH (the line "PATH -> SLAVE"
                           is printed again)
  --vanish-for S           how long it stays away (default 0)
  --silent-at S            S seconds after the start the counter stops
                           answering, the line staying open
  --silent-for S           how long it stays silent (default 0)
  --help                   show this text and exit
  --version                show the version and exit

Invalid options: a message on standard error and exit status 2.
)";
}

}  // namespace quolix
