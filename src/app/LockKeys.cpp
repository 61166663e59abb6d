#include "app/LockKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef QUOLIX_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace quolix::app {

#ifdef QUOLIX_HAVE_X11
namespace {

// Asked by name: the order of a keyboard's indicators is its own.
bool IndicatorOn(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return false;
    }
    return on == True;
}

}  // namespace
#endif

std::optional<LockKeys> LockKeys::Read() {
#ifdef QUOLIX_HAVE_X11
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return std::nullopt;
    }
    LockKeys keys;
    keys.kana = IndicatorOn(display, "Kana");
    keys.caps = IndicatorOn(display, "Caps Lock");
    keys.num = IndicatorOn(display, "Num Lock");
    keys.scroll = IndicatorOn(display, "Scroll Lock");
    return keys;
#else
    return std::nullopt;
#endif
}

}  // namespace quolix::app
