#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/DeviceContext.h"
#include "framework/Rect.h"

namespace quolix {

class SettingsRecord;

enum class DialogResult { Ok, Cancel };

// What a view asks of the window it lives in. The desktop host implements it
// with Qt, the command-line recorder headlessly, and tests with fakes.
// All texts are CP932 bytes.
class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Returns the timer's identifier, or 0 when no timer could be started.
    virtual uint32_t SetTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void KillTimer(uint32_t id) = 0;
    // Schedules a full repaint with the background erased.
    virtual void Invalidate() = 0;
    // The window's outer rectangle in pixels.
    virtual Rect GetWindowRect() = 0;
    // A modal message with a single OK button.
    virtual void MessageBox(std::string_view text, std::string_view caption) = 0;
    // A device context onto the client area for drawing outside a paint; it
    // draws over what is there without erasing. May be null (no window).
    virtual std::unique_ptr<DeviceContext> GetDC() = 0;
    // The settings dialog loads and saves the settings file itself; on Ok the
    // record holds all thirty confirmed slots.
    virtual DialogResult RunSettingsDialog(SettingsRecord& record) = 0;
    // Seeded with three comment lines; on Ok they hold the confirmed lines.
    virtual DialogResult RunCommentDialog(std::array<std::string, 3>& lines) = 0;
    // A modal question with Yes (Ok) and No (Cancel) buttons. A host with
    // nobody to answer says No.
    virtual DialogResult AskYesNo(std::string_view /*text*/, std::string_view /*caption*/) {
        return DialogResult::Cancel;
    }
    // A note in the window's status line until the next one; empty clears it.
    // A host without a status line shows nothing.
    virtual void SetStatusText(std::string_view /*text*/) {}
};

}  // namespace quolix
