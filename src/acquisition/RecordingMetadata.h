#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/CQuolixDoc.h"

namespace quolix {

// A recording says when it started and what one count of its readings is, in
// comments 4 and 5, which every operation carries unchanged. The text is
// ASCII, so it is the same in CP932 and UTF-8, e.g.
//   QLX1 start=2026-12-07T08:10:00+09:00
//   QLX1 count=1Hz port=COM1 device=/dev/ttyUSB0 by=quolix-cli 1.1
// A file without them (older, or from elsewhere) is "start unknown, unit from
// the settings".

// A moment as the wall clock gives it: seconds since 1970 UTC and the local
// offset from UTC in seconds at that moment.
struct WallTime {
    int64_t utcSeconds = 0;
    int32_t offsetSeconds = 0;
};

WallTime ReadWallClock();

// Where a recording comes from. port is "COM1" ... "COM6" when the settings'
// port was used, empty when a device was named directly; program is the
// recorder and its version, "quolix-cli 1.1".
struct RecordingOrigin {
    std::string port;
    std::string device;
    std::string program;
};

// What comments 4 and 5 say about a recording.
struct RecordingMetadata {
    bool startKnown = false;
    WallTime start;
    // Hertz per count: 100, 10 or 1; 0 when the file does not say.
    int32_t countHz = 0;
};

namespace recordingmeta {

constexpr int StartComment = 3;
constexpr int UnitComment = 4;

// 100, 10, 1 for the resolutions 0, 1, 2 of the settings; 0 for any other.
int32_t HzPerCount(int32_t resolution);
// The resolution whose count is countHz; -1 when none.
int32_t ResolutionFor(int32_t countHz);

// "2026-12-07T08:10:00+09:00": the moment in its local time, ISO 8601.
std::string LocalText(WallTime moment);
std::string StartText(WallTime start);
std::string UnitText(int32_t resolution, const RecordingOrigin& origin);
// "2026-12-06T23:10:00Z": the moment in UTC, ISO 8601.
std::string UtcText(int64_t utcSeconds);

// Called when a recording stores the first sample of an empty store, at
// firstTime seconds of recording time, now: writes comments 4 and 5. Only
// comments that are empty or already of this form are written, so that what
// a file from elsewhere keeps there is never lost. 1 when written, else 0.
int StampRecordingStart(CQuolixDoc::Comments& comments, int32_t firstTime, WallTime now,
                        int32_t resolution, const RecordingOrigin& origin);

RecordingMetadata Read(const CQuolixDoc::Comments& comments);

}  // namespace recordingmeta
}  // namespace quolix
