#pragma once

#include <signal.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "settings/SettingsLocation.h"

namespace quolix {

class CounterLink;
class CQuolixView;

namespace cli {

class RawLog;
class Reporter;

// What one recording on the command line is asked to do.
struct RecorderConfig {
    std::string outputPath;
    // Where the view loads its settings.
    SettingsLocation settings;
    // CP932; stored with the recording from the start.
    CQuolixDoc::Comments comments;
    // Seconds of recording time after which it ends; 0: until stopped.
    int32_t durationSeconds = 0;
    // Nanoseconds between ticks; 0: the period the view asks for (250 ms).
    int64_t tickPeriodNs = 0;
    // Who records, for the recording's own description.
    RecordingOrigin origin;
    // Gets every reply while recording; none when null.
    RawLog* raw = nullptr;
};

// Hosts the recording view without a window: the view opens the counter's
// port and polls it on ticks of a TickScheduler, recording starts as soon as
// the start command is enabled (the counter answered), and after every
// stored sample a line goes to out and the whole recording is written to the
// output file, which is replaced atomically each time.
class HeadlessRecorder {
  public:
    // deviceName names the counter's device in messages; out gets one line
    // per stored sample.
    HeadlessRecorder(CounterLink& link, RecorderConfig config, std::FILE* out, Reporter& reporter,
                     std::function<std::string()> deviceName);

    // Records until the duration (counted from the start of the run) is over,
    // the store is full or stop becomes non-zero; then writes the file once
    // more. Returns the exit status: ExitOk, ExitPortError when the port could
    // not be opened or no sample was stored (the file is then left as it
    // was), ExitFileError when the file could not be written at the end.
    int Run(const volatile sig_atomic_t& stop);

    // The recording as it stands, for tests.
    const CQuolixDoc& Document() const { return doc_; }

  private:
    struct Snapshot {
        int32_t count = 0;
        int32_t lastTime = 0;
        int32_t lastReading = 0;
        bool operator==(const Snapshot&) const = default;
    };

    // What was last told about the link, so each change is told once.
    enum class Told { Nothing, Silent, Lost };

    Snapshot Snap() const;
    // Says when the sampling interval changed from `before` during a tick.
    void TellIntervalChange(int32_t before, int32_t now, int32_t countBefore);
    void LogReply(int32_t reading);
    // Tells the counter falling silent, the link lost, and the counter
    // answering again, and counts the time it did not answer.
    void WatchLink(const CQuolixView& view, bool started);
    // Writes the whole recording; last marks the write at the end.
    bool Save(bool last);

    CounterLink& link_;
    RecorderConfig config_;
    std::FILE* out_;
    Reporter& reporter_;
    std::function<std::string()> deviceName_;
    CQuolixDoc doc_;
    int64_t ticksRun_ = 0;
    Told told_ = Told::Nothing;
    int64_t quietTicks_ = 0;
    int64_t offlineTicks_ = 0;
    int64_t lostTicks_ = 0;
    bool lastSaveFailed_ = false;
    bool rawFailed_ = false;
};

}  // namespace cli
}  // namespace quolix
