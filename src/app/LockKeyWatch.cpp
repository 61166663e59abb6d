#include "app/LockKeyWatch.h"

#include <cstdint>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef QUOLIX_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace quolix::app {

LockKeyWatch::LockKeyWatch(QObject* parent) : QObject(parent) {
#ifdef QUOLIX_HAVE_X11
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr ||
        !XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor) ||
        !XkbSelectEventDetails(display, XkbUseCoreKbd, XkbIndicatorStateNotify,
                               XkbAllIndicatorsMask, XkbAllIndicatorsMask)) {
        return;
    }
    XFlush(display);
    eventBase_ = eventBase;
    QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

LockKeyWatch::~LockKeyWatch() {
    if (Watching() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool LockKeyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // An X event's first byte is its type (the top bit marks one sent by a
    // client); an Xkb event's second byte says which of Xkb's it is.
    if (eventType == "xcb_generic_event_t") {
        const auto* bytes = static_cast<const uint8_t*>(message);
        if ((bytes[0] & 0x7F) == eventBase_ && bytes[1] == 4 /* XkbIndicatorStateNotify */) {
            emit lightsChanged();
        }
    }
    return false;  // Qt goes on with the event as ever
}

}  // namespace quolix::app
