#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/WindowServices.h"

namespace quolix::cli {

class Reporter;

// Window services for a view that runs without a display. The host drives
// the view's timer itself, so SetTimer only notes the period asked for; there
// is nothing to repaint or draw on, message boxes go to the reporter, and
// dialogs are cancelled.
class HeadlessWindow : public WindowServices {
  public:
    // subject names the file or device a message box concerns, at the moment
    // it is shown (the device is only known once the view tried to open it).
    HeadlessWindow(Reporter& reporter, std::function<std::string()> subject)
        : reporter_(reporter), subject_(std::move(subject)) {}

    uint32_t SetTimer(uint32_t id, uint32_t periodMs) override;
    void KillTimer(uint32_t id) override;
    void Invalidate() override {}
    // Nothing is drawn; the size is what a default window would have.
    Rect GetWindowRect() override { return Rect{0, 0, 800, 600}; }
    void MessageBox(std::string_view text, std::string_view caption) override;
    std::unique_ptr<DeviceContext> GetDC() override { return nullptr; }
    DialogResult RunSettingsDialog(SettingsRecord&) override { return DialogResult::Cancel; }
    DialogResult RunCommentDialog(std::array<std::string, 3>&) override {
        return DialogResult::Cancel;
    }

    // Whether the view wants its timer now, and at what period.
    bool TimerRunning() const { return timerRunning_; }
    uint32_t TimerPeriodMs() const { return timerPeriodMs_; }
    int MessageCount() const { return messageCount_; }

  private:
    Reporter& reporter_;
    std::function<std::string()> subject_;
    uint32_t timerId_ = 0;
    uint32_t timerPeriodMs_ = 0;
    bool timerRunning_ = false;
    int messageCount_ = 0;
};

}  // namespace quolix::cli
