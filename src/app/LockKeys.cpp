#include "app/LockKeys.h"

#include <array>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef QUOLIX_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace quolix::app {

#ifdef QUOLIX_HAVE_X11
namespace {

// Found by name: the order of a keyboard's indicators is its own. -1 for a
// light the keyboard does not have.
int IndicatorIndex(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    int index = -1;
    if (atom == None || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr)) {
        return -1;
    }
    return index;
}

bool IsOn(unsigned int lights, int index) {
    return index >= 0 && index < 32 && (lights & (1u << index)) != 0;
}

// The X11 display Qt runs on; null elsewhere (Wayland, offscreen).
Display* QtDisplay() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace
#endif

std::optional<LockKeys> LockKeys::Read() {
#ifdef QUOLIX_HAVE_X11
    Display* display = QtDisplay();
    if (display == nullptr) {
        return std::nullopt;
    }
    // The lights' places once; then all four lights in one request a second
    // rather than one round trip to the server for each.
    static const std::array<int, 4> indices = {
        IndicatorIndex(display, "Kana"), IndicatorIndex(display, "Caps Lock"),
        IndicatorIndex(display, "Num Lock"), IndicatorIndex(display, "Scroll Lock")};
    unsigned int lights = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &lights) != Success) {
        return std::nullopt;
    }
    LockKeys keys;
    keys.kana = IsOn(lights, indices[0]);
    keys.caps = IsOn(lights, indices[1]);
    keys.num = IsOn(lights, indices[2]);
    keys.scroll = IsOn(lights, indices[3]);
    return keys;
#else
    return std::nullopt;
#endif
}

int LockKeys::WatchLights() {
#ifdef QUOLIX_HAVE_X11
    Display* display = QtDisplay();
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr ||
        !XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor) ||
        !XkbSelectEventDetails(display, XkbUseCoreKbd, XkbIndicatorStateNotify,
                               XkbAllIndicatorsMask, XkbAllIndicatorsMask)) {
        return -1;
    }
    XFlush(display);
    return eventBase;
#else
    return -1;
#endif
}

}  // namespace quolix::app
