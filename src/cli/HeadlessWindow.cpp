#include "cli/HeadlessWindow.h"

#include "cli/Reporter.h"

namespace quolix::cli {

uint32_t HeadlessWindow::SetTimer(uint32_t id, uint32_t periodMs) {
    // A zero identifier would read as "no timer" to the view.
    if (id == 0 || periodMs == 0) {
        return 0;
    }
    timerId_ = id;
    timerPeriodMs_ = periodMs;
    timerRunning_ = true;
    return id;
}

void HeadlessWindow::KillTimer(uint32_t id) {
    if (timerRunning_ && id == timerId_) {
        timerRunning_ = false;
    }
}

void HeadlessWindow::MessageBox(std::string_view text, std::string_view caption) {
    ++messageCount_;
    // A terminal has no title bar: the subject leads the line, and the caption
    // stands in for it only when there is no subject.
    std::string subject = subject_ ? subject_() : std::string();
    if (subject.empty()) {
        reporter_.SayCp932(std::string_view(), std::string(caption) + ": " + std::string(text));
        return;
    }
    reporter_.SayCp932(subject, text);
}

}  // namespace quolix::cli
