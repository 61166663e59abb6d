#include "framework/qt/QtViewHost.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

#include "framework/CView.h"
#include "framework/qt/QtDeviceContext.h"
#include "framework/qt/QtText.h"

namespace quolix {

namespace {

// A device context onto the backing image for drawing outside a paint; the
// widget shows what was drawn once the context is released.
class ImageDeviceContext : public QtDeviceContext {
  public:
    ImageDeviceContext(QWidget& widget, QPainter& painter, int32_t dpiY, QtFontCache& fonts,
                       DrawnTextMemory& texts)
        : QtDeviceContext(painter, dpiY, &fonts, &texts), widget_(widget) {}
    // The widget shows the image at its next paint.
    ~ImageDeviceContext() override { widget_.update(DrawnArea()); }

  private:
    QWidget& widget_;
};

}  // namespace

QtViewHost::QtViewHost(CView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    view_.AttachWindow(this);
}

QtViewHost::~QtViewHost() {
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
    view_.AttachWindow(nullptr);
}

uint32_t QtViewHost::SetTimer(uint32_t id, uint32_t periodMs) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);  // owned by this widget
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] {
            view_.OnTimer(id);
            if (afterTick_) {
                afterTick_();
            }
        });
    }
    timer->start(static_cast<int>(periodMs));
    return id;
}

void QtViewHost::KillTimer(uint32_t id) {
    const auto found = timers_.find(id);
    if (found != timers_.end()) {
        found->second->stop();
    }
}

void QtViewHost::Invalidate() {
    dirty_ = true;
    update();
}

Rect QtViewHost::GetWindowRect() {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return Rect{origin.x(), origin.y(), origin.x() + width(), origin.y() + height()};
}

void QtViewHost::MessageBox(std::string_view text, std::string_view caption) {
    if (messageBox_) {
        messageBox_(QStringFromCp932(text), QStringFromCp932(caption));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringFromCp932(caption), QStringFromCp932(text),
                    QMessageBox::Ok, window());
    box.exec();
}

DialogResult QtViewHost::AskYesNo(std::string_view text, std::string_view caption) {
    bool yes = false;
    if (question_) {
        yes = question_(QStringFromCp932(text), QStringFromCp932(caption));
    } else {
        QMessageBox box(QMessageBox::Question, QStringFromCp932(caption), QStringFromCp932(text),
                        QMessageBox::Yes | QMessageBox::No, window());
        box.setDefaultButton(QMessageBox::No);
        yes = box.exec() == QMessageBox::Yes;
    }
    return yes ? DialogResult::Ok : DialogResult::Cancel;
}

void QtViewHost::SetStatusText(std::string_view text) {
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (frame == nullptr) {
        return;
    }
    if (text.empty()) {
        frame->statusBar()->clearMessage();
    } else {
        frame->statusBar()->showMessage(QStringFromCp932(text));
    }
}

std::unique_ptr<DeviceContext> QtViewHost::GetDC() {
    if (image_.isNull()) {
        return nullptr;
    }
    return std::make_unique<ImageDeviceContext>(*this, ImagePainter(), imageDpiY_, fonts_, texts_);
}

DialogResult QtViewHost::RunSettingsDialog(SettingsRecord& record) {
    return settingsDialog_ ? settingsDialog_(record) : DialogResult::Cancel;
}

DialogResult QtViewHost::RunCommentDialog(std::array<std::string, 3>& lines) {
    return commentDialog_ ? commentDialog_(lines) : DialogResult::Cancel;
}

bool QtViewHost::ImageFits() const {
    return image_.deviceIndependentSize().toSize() == size() &&
           image_.devicePixelRatio() == devicePixelRatio();
}

QPainter& QtViewHost::ImagePainter() {
    if (!imagePainter_.isActive()) {
        imagePainter_.begin(&image_);
    }
    return imagePainter_;
}

void QtViewHost::RedrawImage() {
    // The painter writes into the image's pixels as they were when it began:
    // it ends before the image is filled or replaced.
    if (imagePainter_.isActive()) {
        imagePainter_.end();
    }
    if (!ImageFits()) {
        const qreal ratio = devicePixelRatio();
        image_ = QImage(size() * ratio, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
    }
    image_.fill(Qt::white);
    texts_.Clear();
    imageDpiY_ = ScreenDpiY();
    QtDeviceContext dc(ImagePainter(), imageDpiY_, &fonts_, &texts_);
    view_.OnDraw(dc);
    dirty_ = false;
}

void QtViewHost::paintEvent(QPaintEvent* event) {
    if (dirty_ || !ImageFits()) {
        RedrawImage();
    }
    // Only the exposed part goes to the screen: the readout touches a small
    // band four times a second. The source is in the image's device pixels.
    // Each rectangle on its own: the bounding box of a new graph segment and
    // the readout would copy most of the window once a second.
    QPainter painter(this);
    const qreal ratio = image_.devicePixelRatio();
    for (const QRect& area : event->region()) {
        painter.drawImage(QRectF(area), image_,
                          QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                                 area.height() * ratio));
    }
}

void QtViewHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    dirty_ = true;
}

}  // namespace quolix
