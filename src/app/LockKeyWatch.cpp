#include "app/LockKeyWatch.h"

#include <cstdint>

#include <QCoreApplication>

#include "app/LockKeys.h"

namespace quolix::app {

LockKeyWatch::LockKeyWatch(QObject* parent) : QObject(parent), eventBase_(LockKeys::WatchLights()) {
    if (Watching()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
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
