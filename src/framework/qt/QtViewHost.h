#pragma once

#include <functional>
#include <map>
#include <memory>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "framework/WindowServices.h"
#include "framework/qt/DrawnTextMemory.h"
#include "framework/qt/QtFontCache.h"

class QTimer;

namespace quolix {

class CView;

// Hosts a Qt-free view in a widget: forwards paint and timer events to it and
// gives it the window services it asks for. The picture lives in a backing
// image: a paint after Invalidate() clears the image and lets the view redraw
// it; drawing outside a paint (the live readout) goes straight into the image
// without erasing, as on the platform the view was written for. The image has
// the screen's device pixels, the view draws in logical ones.
class QtViewHost : public QWidget, public WindowServices {
  public:
    using SettingsDialogRunner = std::function<DialogResult(SettingsRecord&)>;
    using CommentDialogRunner = std::function<DialogResult(std::array<std::string, 3>&)>;

    explicit QtViewHost(CView& view, QWidget* parent = nullptr);
    ~QtViewHost() override;

    using MessageBoxRunner = std::function<void(const QString& text, const QString& caption)>;

    // Where messages go; by default a modal QMessageBox with an OK button.
    void SetMessageBoxRunner(MessageBoxRunner runner) { messageBox_ = std::move(runner); }
    void SetSettingsDialogRunner(SettingsDialogRunner runner) {
        settingsDialog_ = std::move(runner);
    }
    void SetCommentDialogRunner(CommentDialogRunner runner) { commentDialog_ = std::move(runner); }
    using QuestionRunner = std::function<bool(const QString& text, const QString& caption)>;
    // Where Yes/No questions go; by default a modal QMessageBox. True is Yes.
    void SetQuestionRunner(QuestionRunner runner) { question_ = std::move(runner); }
    // Called after every timer tick so that the frame can refresh command states.
    void SetAfterTick(std::function<void()> afterTick) { afterTick_ = std::move(afterTick); }

    // WindowServices
    uint32_t SetTimer(uint32_t id, uint32_t periodMs) override;
    void KillTimer(uint32_t id) override;
    void Invalidate() override;
    Rect GetWindowRect() override;
    void MessageBox(std::string_view text, std::string_view caption) override;
    std::unique_ptr<DeviceContext> GetDC() override;
    DialogResult RunSettingsDialog(SettingsRecord& record) override;
    DialogResult RunCommentDialog(std::array<std::string, 3>& lines) override;
    DialogResult AskYesNo(std::string_view text, std::string_view caption) override;
    // The status bar of the main window the host lives in, if any.
    void SetStatusText(std::string_view text) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The image has the widget's size and the screen's pixel ratio.
    bool ImageFits() const;
    void RedrawImage();
    // The painter on image_, begun when first needed and kept until the image
    // is repainted whole: beginning one for each readout cost more than the
    // readout's own drawing.
    QPainter& ImagePainter();

    CView& view_;
    QImage image_;
    // Declared after image_, so that it ends before the image goes.
    QPainter imagePainter_;
    // The resolution image_ was last drawn whole for; drawings between
    // repaints use it too, so that their fonts match the picture's.
    int32_t imageDpiY_ = 0;
    QtFontCache fonts_;
    // What image_ shows of texts since it was last repainted whole.
    DrawnTextMemory texts_;
    bool dirty_ = true;
    std::map<uint32_t, QTimer*> timers_;
    MessageBoxRunner messageBox_;
    SettingsDialogRunner settingsDialog_;
    CommentDialogRunner commentDialog_;
    QuestionRunner question_;
    std::function<void()> afterTick_;
};

}  // namespace quolix
