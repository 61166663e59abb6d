#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace quolix::app {

// Tells when the keyboard's lights change (X11 with Xkb), so that the
// lock-key panes are read then instead of once a second, which costs a round
// trip to the X server each time. Where nothing tells, Watching() is false.
class LockKeyWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    explicit LockKeyWatch(QObject* parent);
    ~LockKeyWatch() override;
    LockKeyWatch(const LockKeyWatch&) = delete;
    LockKeyWatch& operator=(const LockKeyWatch&) = delete;

    bool Watching() const { return eventBase_ >= 0; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  signals:
    void lightsChanged();

  private:
    int eventBase_ = -1;
};

}  // namespace quolix::app
