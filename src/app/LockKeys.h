#pragma once

#include <optional>

namespace quolix::app {

// The keyboard's lock keys as the status bar's indicators show them.
struct LockKeys {
    bool kana = false;
    bool caps = false;
    bool num = false;
    bool scroll = false;

    // The lights of the X11 keyboard Qt runs on; nullopt where the platform
    // does not tell (Wayland, offscreen, no Xkb).
    static std::optional<LockKeys> Read();
    // Asks the X server to report every change of the lights as an Xkb event;
    // the type (first byte) of Xkb's events, or -1 where nothing will report.
    static int WatchLights();
};

}  // namespace quolix::app
