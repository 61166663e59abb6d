#include "acquisition/RecordingMetadata.h"

#include <time.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "base/IntegerText.h"
#include "base/LocalCalendar.h"

namespace quolix {

namespace {

constexpr std::string_view Mark = "QLX1";
constexpr int64_t SecondsPerDay = 86'400;
// Offsets beyond ±18 h exist nowhere; a larger one is a damaged text.
constexpr int32_t LargestOffset = 18 * 3600;

bool OursOrEmpty(std::string_view comment) {
    return comment.empty() || (comment.size() > Mark.size() && comment.starts_with(Mark) &&
                               comment[Mark.size()] == ' ');
}

// Spaces separate the fields, so a device name keeps its own bytes only where
// they are printable ASCII other than '%'.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && c != '%') {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        }
    }
    return out;
}

std::string TwoDigits(int64_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
    return text;
}

// Calendar date and time of day of seconds since 1970 (UTC arithmetic).
std::string CalendarText(int64_t seconds) {
    using namespace std::chrono;
    int64_t days = seconds / SecondsPerDay;
    int64_t inDay = seconds % SecondsPerDay;
    if (inDay < 0) {
        inDay += SecondsPerDay;
        --days;
    }
    const year_month_day date{sys_days{std::chrono::days{days}}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text + TwoDigits(inDay / 3600) + ":" + TwoDigits(inDay / 60 % 60) + ":" +
           TwoDigits(inDay % 60);
}

bool Digits(std::string_view text, size_t at, size_t count, long long low, long long high,
            long long& value) {
    if (at + count > text.size()) {
        return false;
    }
    const std::string_view part = text.substr(at, count);
    return part.find_first_not_of("0123456789") == std::string_view::npos &&
           ParseInteger(part, low, high, value);
}

// "YYYY-MM-DDTHH:MM:SS" followed by "Z" or "+HH:MM"/"-HH:MM".
bool ParseStart(std::string_view text, WallTime& start) {
    long long y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || !Digits(text, 0, 4, 0, 9999, y) ||
        !Digits(text, 5, 2, 1, 12, mo) || !Digits(text, 8, 2, 1, 31, d) ||
        !Digits(text, 11, 2, 0, 23, h) || !Digits(text, 14, 2, 0, 59, mi) ||
        !Digits(text, 17, 2, 0, 60, s)) {
        return false;
    }
    int32_t offset = 0;
    const std::string_view zone = text.substr(19);
    if (zone != "Z") {
        long long oh = 0, om = 0;
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' ||
            !Digits(zone, 1, 2, 0, 18, oh) || !Digits(zone, 4, 2, 0, 59, om)) {
            return false;
        }
        offset = static_cast<int32_t>((oh * 3600 + om * 60) * (zone[0] == '-' ? -1 : 1));
        if (offset > LargestOffset || offset < -LargestOffset) {
            return false;
        }
    }
    using namespace std::chrono;
    const year_month_day date{year{static_cast<int>(y)}, month{static_cast<unsigned>(mo)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok()) {
        return false;
    }
    const int64_t days = sys_days{date}.time_since_epoch().count();
    start.utcSeconds = days * SecondsPerDay + h * 3600 + mi * 60 + s - offset;
    start.offsetSeconds = offset;
    return true;
}

// The fields after the mark, split at blanks; by= takes the rest of the text,
// since a program's name and version are separated by one.
std::vector<std::string_view> Fields(std::string_view comment) {
    std::vector<std::string_view> fields;
    if (comment.empty() || !OursOrEmpty(comment)) {
        return fields;
    }
    std::string_view rest = comment.substr(Mark.size() + 1);
    while (!rest.empty()) {
        if (rest.starts_with("by=")) {
            fields.push_back(rest);
            break;
        }
        const size_t blank = rest.find(' ');
        fields.push_back(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    }
    return fields;
}

}  // namespace

WallTime ReadWallClock() {
    timespec exact{};
    ::clock_gettime(CLOCK_REALTIME, &exact);
    // To the nearest second, not the last one begun: a start stamped at
    // 15.999 s is 16 s, as a log of the replies would show it.
    const std::time_t now = exact.tv_sec + (exact.tv_nsec >= 500'000'000 ? 1 : 0);
    WallTime moment{static_cast<int64_t>(now), 0};
    (void)platform::UtcOffset(now, moment.offsetSeconds);
    return moment;
}

namespace recordingmeta {

int32_t HzPerCount(int32_t resolution) {
    switch (resolution) {
        case 0:
            return 100;
        case 1:
            return 10;
        case 2:
            return 1;
        default:
            return 0;
    }
}

int32_t ResolutionFor(int32_t countHz) {
    for (int32_t resolution = 0; resolution <= 2; ++resolution) {
        if (HzPerCount(resolution) == countHz) {
            return resolution;
        }
    }
    return -1;
}

std::string LocalText(WallTime moment) {
    const int32_t offset = moment.offsetSeconds;
    const int32_t magnitude = offset < 0 ? -offset : offset;
    return CalendarText(moment.utcSeconds + offset) + (offset < 0 ? "-" : "+") +
           TwoDigits(magnitude / 3600) + ":" + TwoDigits(magnitude / 60 % 60);
}

std::string StartText(WallTime start) {
    return std::string(Mark) + " start=" + LocalText(start);
}

std::string UnitText(int32_t resolution, const RecordingOrigin& origin) {
    std::string text(Mark);
    if (const int32_t hz = HzPerCount(resolution); hz != 0) {
        text += " count=" + std::to_string(hz) + "Hz";
    }
    if (!origin.port.empty()) {
        text += " port=" + Escaped(origin.port);
    }
    if (!origin.device.empty()) {
        text += " device=" + Escaped(origin.device);
    }
    if (!origin.program.empty()) {
        text += " by=" + origin.program;
    }
    return text;
}

std::string UtcText(int64_t utcSeconds) {
    return CalendarText(utcSeconds) + "Z";
}

int StampRecordingStart(CQuolixDoc::Comments& comments, int32_t firstTime, WallTime now,
                        int32_t resolution, const RecordingOrigin& origin) {
    if (!OursOrEmpty(comments[StartComment]) || !OursOrEmpty(comments[UnitComment])) {
        return 0;
    }
    // The first sample may come a second or more after Start (no reply yet).
    comments[StartComment] = StartText({now.utcSeconds - firstTime, now.offsetSeconds});
    comments[UnitComment] = UnitText(resolution, origin);
    return 1;
}

RecordingMetadata Read(const CQuolixDoc::Comments& comments) {
    RecordingMetadata metadata;
    for (const std::string_view field : Fields(comments[StartComment])) {
        if (field.starts_with("start=")) {
            metadata.startKnown = ParseStart(field.substr(6), metadata.start);
        }
    }
    for (const std::string_view field : Fields(comments[UnitComment])) {
        long long hz = 0;
        if (field.starts_with("count=") && field.ends_with("Hz") &&
            Digits(field, 6, field.size() - 8, 1, 100, hz) &&
            ResolutionFor(static_cast<int32_t>(hz)) >= 0) {
            metadata.countHz = static_cast<int32_t>(hz);
        }
    }
    return metadata;
}

}  // namespace recordingmeta
}  // namespace quolix
