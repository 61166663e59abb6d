#include "cli/HeadlessRecorder.h"

#include <time.h>

#include <string_view>

#include "acquisition/CQuolixView.h"
#include "base/LocalCalendar.h"
#include "base/ReplacementFile.h"
#include "cli/ExitStatus.h"
#include "cli/HeadlessWindow.h"
#include "cli/RawLog.h"
#include "cli/Reporter.h"
#include "cli/TickScheduler.h"
#include "framework/CommandIds.h"
#include "framework/CommandRouter.h"
#include "framework/DocumentFile.h"

namespace quolix::cli {

namespace {

constexpr int64_t NsPerMs = 1'000'000;
// How long to wait for the counter's first answer, or for the next one,
// before saying so.
constexpr int64_t WaitNoticeSeconds = 2;

// The local time a change of the link is told with, "2024-12-07 10:31:05".
std::string LocalTimeText() {
    const time_t now = ::time(nullptr);
    tm local{};
    char text[32] = "";
    if (platform::LocalCalendar(now, local)) {
        ::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    }
    return text;
}

std::string Seconds(int64_t ticks) {
    return std::to_string(ticks / CQuolixView::TicksPerSecond) + " 秒";
}

}  // namespace

void HeadlessRecorder::WatchLink(const CQuolixView& view, bool started) {
    if (view.offline == 0) {
        if (told_ != Told::Nothing) {
            reporter_.Say(deviceName_(), LocalTimeText() + " カウンタが再び応答しています。");
        }
        told_ = Told::Nothing;
        quietTicks_ = 0;
        return;
    }
    ++quietTicks_;
    const bool lost = view.PortState() != PortKeeper::State::Open;
    if (started) {
        ++offlineTicks_;
        lostTicks_ += lost ? 1 : 0;
    }
    if (lost && told_ != Told::Lost) {
        reporter_.Say(deviceName_(),
                      LocalTimeText() + " カウンタとの接続が切れました。再接続を待っています。");
        told_ = Told::Lost;
    } else if (started && told_ == Told::Nothing &&
               quietTicks_ >= WaitNoticeSeconds * CQuolixView::TicksPerSecond) {
        reporter_.Say(deviceName_(), LocalTimeText() + " カウンタが応答しません。");
        told_ = Told::Silent;
    }
}

HeadlessRecorder::HeadlessRecorder(CounterLink& link, RecorderConfig config, std::FILE* out,
                                   Reporter& reporter, std::function<std::string()> deviceName)
    : link_(link),
      config_(std::move(config)),
      out_(out),
      reporter_(reporter),
      deviceName_(std::move(deviceName)) {}

HeadlessRecorder::Snapshot HeadlessRecorder::Snap() const {
    if (doc_.count <= 0 || doc_.count > CQuolixDoc::SampleCapacity) {
        return {};
    }
    const auto last = static_cast<std::size_t>(doc_.count - 1);
    return {doc_.count, doc_.times[last], doc_.readings[last]};
}

bool HeadlessRecorder::Save(bool last) {
    // A write per sample is whole or not at all, which is what a killed
    // process needs, without flushing anything; the last write also makes
    // the contents and the rename durable.
    const Status result = docfile::SaveAs(
        doc_, config_.outputPath,
        last ? ReplacementFile::Flush::DataAndFolder : ReplacementFile::Flush::None);
    const bool ok = result.ok;
    // A failing disk is reported when it starts failing and when it recovers,
    // not at every sample; the recording goes on in memory meanwhile. The last
    // write is always reported: it decides the exit status.
    if (!ok && (!lastSaveFailed_ || last)) {
        reporter_.Say({}, result.message);
    } else if (ok && lastSaveFailed_) {
        reporter_.Say(config_.outputPath, "再び保存できるようになりました。");
    }
    lastSaveFailed_ = !ok;
    return ok;
}

void HeadlessRecorder::TellIntervalChange(int32_t before, int32_t now, int32_t countBefore) {
    if (now == before || before == 0) {
        return;
    }
    // Past the last interval every second ends one.
    const int32_t seconds = now > 0 ? now : 1;
    reporter_.Say(config_.outputPath, "記録間隔を " + std::to_string(seconds) +
                                          " 秒に変更しました (" + std::to_string(countBefore) +
                                          " → " + std::to_string(doc_.count) + " サンプル)");
}

void HeadlessRecorder::LogReply(int32_t reading) {
    if (config_.raw == nullptr || rawFailed_) {
        return;
    }
    if (!config_.raw->Add(reading)) {
        rawFailed_ = true;
        reporter_.Say(config_.raw->Path(), "書き込めなくなりました。記録は続けます。");
    }
}

int HeadlessRecorder::Run(const volatile sig_atomic_t& stop) {
    HeadlessWindow window(reporter_, deviceName_);
    CQuolixView view(link_);
    view.SetSettingsLocation(config_.settings);
    view.SetRecordingOrigin(config_.origin);
    view.AttachWindow(&window);
    view.AttachDocument(&doc_);

    // The framework's order: the view's window is created, then the new
    // document is initialised, which resets the view's acquisition once more.
    view.OnCreate();
    if (view.portOpen == 0) {
        // The view has shown its port failure message.
        view.AttachDocument(nullptr);
        return ExitPortError;
    }
    doc_.OnNewDocument();
    doc_.SetComments(config_.comments);
    view.comments = config_.comments;

    CommandRouter router(&view, &doc_, nullptr, nullptr);
    const int64_t periodNs =
        config_.tickPeriodNs > 0 ? config_.tickPeriodNs : int64_t{window.TimerPeriodMs()} * NsPerMs;
    TickScheduler ticks(periodNs);
    const int64_t waitNoticeTicks = WaitNoticeSeconds * int64_t{CQuolixView::TicksPerSecond};
    // The whole run, the wait for the first reply included; the tick after
    // the last whole second takes that second's sample.
    const int64_t tickLimit =
        config_.durationSeconds > 0
            ? int64_t{config_.durationSeconds} * CQuolixView::TicksPerSecond + 1
            : 0;
    bool started = false;
    bool toldWaiting = false;

    ticks.Start();
    while (window.TimerRunning()) {
        if (ticks.WaitForTick(stop) == TickScheduler::Wake::Stop) {
            break;
        }
        ++ticksRun_;
        const Snapshot before = Snap();
        const int32_t intervalBefore = view.interval;
        view.OnTimer(CQuolixView::PollTimerId);
        WatchLink(view, started);
        if (started) {
            TellIntervalChange(intervalBefore, view.interval, before.count);
        }
        if (!started && router.IsEnabled(ID_DATA_START)) {
            router.Execute(ID_DATA_START);
            started = true;
            if (config_.raw != nullptr) {
                config_.raw->Begin(
                    recordingmeta::HzPerCount(view.settings.Int(SettingsRecord::Resolution)));
            }
            reporter_.Say(deviceName_(), "記録を開始しました。保存先: " + config_.outputPath);
        }
        // The view is online after a tick exactly when a reply was parsed.
        if (started && view.offline == 0) {
            LogReply(view.lastReading);
        }
        if (Snap() != before && doc_.count > 0) {
            const auto last = static_cast<std::size_t>(doc_.count - 1);
            const int32_t reading = doc_.readings[last];
            std::fprintf(out_, "%8d s %10d %s kHz\n", doc_.times[last], reading,
                         view.FormatFrequency(reading).c_str());
            std::fflush(out_);
            Save(false);
        }
        if (!started && !toldWaiting && ticksRun_ >= waitNoticeTicks) {
            reporter_.Say(deviceName_(), "カウンタの応答を待っています。");
            toldWaiting = true;
        }
        if (view.full == 1) {
            reporter_.Say(config_.outputPath, "記録がいっぱいになりました。");
            break;
        }
        if (tickLimit > 0 && ticksRun_ >= tickLimit) {
            break;
        }
    }

    if (config_.raw != nullptr && !rawFailed_ && !config_.raw->Flush()) {
        reporter_.Say(config_.raw->Path(), "書き込めませんでした。");
    }
    view.OnDestroy();
    view.AttachDocument(nullptr);
    if (doc_.count <= 0) {
        // An empty recording must not replace one that is there.
        reporter_.Say(config_.outputPath,
                      "サンプルを記録できなかったため、ファイルは変更していません。");
        return ExitPortError;
    }
    if (!Save(true)) {
        return ExitFileError;
    }
    reporter_.Say(config_.outputPath,
                  "記録を終了しました。サンプル数: " + std::to_string(doc_.count) +
                      "、応答がなかった時間: " + Seconds(offlineTicks_) + " (うち切断 " +
                      Seconds(lostTicks_) + ")");
    return ExitOk;
}

}  // namespace quolix::cli
