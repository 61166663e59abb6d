#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/WindowServices.h"
#include "settings/SettingsRecord.h"
#include "support/RecordingDeviceContext.h"

namespace quolix::testing {

// Window services that record what the view asked for. The dialogs write
// their scripted contents into the caller's record or lines whatever the
// scripted result, so that a test can see whether the caller took them.
class FakeWindowServices : public WindowServices {
  public:
    struct TimerCall {
        uint32_t id;
        uint32_t periodMs;
        bool operator==(const TimerCall&) const = default;
    };
    struct Message {
        std::string text;
        std::string caption;
    };

    uint32_t SetTimer(uint32_t id, uint32_t periodMs) override {
        timersSet.push_back({id, periodMs});
        return timerResult.value_or(id);
    }
    void KillTimer(uint32_t id) override { timersKilled.push_back(id); }
    void Invalidate() override { ++invalidations; }
    Rect GetWindowRect() override { return windowRect; }
    void MessageBox(std::string_view text, std::string_view caption) override {
        messages.push_back({std::string(text), std::string(caption)});
        timersSetAtLastMessage = timersSet.size();
    }
    std::unique_ptr<DeviceContext> GetDC() override {
        ++dcRequests;
        if (!provideDc) {
            return nullptr;
        }
        return std::make_unique<ClientDc>(clientDc);
    }
    DialogResult RunSettingsDialog(SettingsRecord& record) override {
        ++settingsRuns;
        record = settingsDialogRecord;
        return settingsResult;
    }
    DialogResult RunCommentDialog(std::array<std::string, 3>& lines) override {
        ++commentRuns;
        commentSeed = lines;
        lines = commentDialogLines;
        return commentResult;
    }
    DialogResult AskYesNo(std::string_view text, std::string_view caption) override {
        questions.push_back({std::string(text), std::string(caption)});
        return answer;
    }
    void SetStatusText(std::string_view text) override { statusText = text; }

    // Unset: SetTimer hands back the identifier it was asked for.
    std::optional<uint32_t> timerResult;
    DialogResult settingsResult = DialogResult::Ok;
    SettingsRecord settingsDialogRecord;
    DialogResult commentResult = DialogResult::Ok;
    std::array<std::string, 3> commentDialogLines;

    std::vector<TimerCall> timersSet;
    // A modal message runs the event loop: timers set before it already tick.
    size_t timersSetAtLastMessage = 0;
    std::vector<uint32_t> timersKilled;
    int invalidations = 0;
    std::vector<Message> messages;
    std::vector<Message> questions;
    DialogResult answer = DialogResult::Cancel;
    std::string statusText;
    int settingsRuns = 0;
    int commentRuns = 0;
    std::array<std::string, 3> commentSeed;
    Rect windowRect{0, 0, 640, 480};
    // What was drawn through GetDC(), outside any paint; off by default so
    // that long runs of ticks do not pile up drawing calls.
    bool provideDc = false;
    RecordingDeviceContext clientDc;
    int dcRequests = 0;

  private:
    // Hands the calls of one GetDC() on to clientDc, which outlives it.
    class ClientDc : public DeviceContext {
      public:
        explicit ClientDc(RecordingDeviceContext& target) : target_(target) {}
        Pen SelectPen(const Pen& pen) override { return target_.SelectPen(pen); }
        Font SelectFont(const Font& font) override { return target_.SelectFont(font); }
        int32_t FontHeight(const Font& font) override { return target_.FontHeight(font); }
        void MoveTo(int32_t x, int32_t y) override { target_.MoveTo(x, y); }
        void LineTo(int32_t x, int32_t y) override { target_.LineTo(x, y); }
        void TextOut(int32_t x, int32_t y, std::string_view text) override {
            target_.TextOut(x, y, text);
        }

      private:
        RecordingDeviceContext& target_;
    };
};

}  // namespace quolix::testing
