#include "app/CCommentDlg.h"

#include <utility>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "framework/qt/Cp932LineEdit.h"
#include "framework/qt/QtDeviceContext.h"

namespace quolix::app {

CCommentDlg::CCommentDlg(QWidget* parent)
    : CDialog(parent), units_(DialogUnits::DialogFont(ScreenDpiY())) {
    setWindowTitle(QStringLiteral("注釈の入力"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogUnits::DialogFont(ScreenDpiY()));
    setFixedSize(units_.Size(223, 105));
    showMessage_ = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, this);
        box.exec();
    };

    const char* const labels[] = {"注釈１：", "注釈２：", "注釈３："};
    const QRect labelRects[] = {units_.Rect(7, 17, 25, 10), units_.Rect(7, 37, 25, 10),
                                units_.Rect(7, 57, 25, 8)};
    for (size_t i = 0; i < edits_.size(); ++i) {
        auto* label = new QLabel(QString::fromUtf8(labels[i]), this);  // owned by the dialog
        label->setGeometry(DialogUnits::WidenedToFit(labelRects[i], *label));
        edits_[i] = new Cp932LineEdit(LineLimit, this);
        edits_[i]->setGeometry(units_.Rect(40, 15 + 20 * static_cast<int>(i), 170, 12));
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units_.Rect(160, 80, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CCommentDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setGeometry(units_.Rect(105, 80, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CCommentDlg::reject);
    ok_ = ok;
    cancel_ = cancel;

    setTabOrder(edits_[0], edits_[1]);
    setTabOrder(edits_[1], edits_[2]);
    setTabOrder(edits_[2], ok_);
    setTabOrder(ok_, cancel_);
}

void CCommentDlg::Seed(const Lines& lines) {
    results = lines;
    editTexts = lines;
    for (size_t i = 0; i < edits_.size(); ++i) {
        edits_[i]->SetCp932Text(editTexts[i]);
    }
}

QWidget* CCommentDlg::Control(int id) const {
    switch (id) {
        case IdOk:
            return ok_;
        case IdCancel:
            return cancel_;
        case IdComment1:
        case IdComment2:
        case IdComment3:
            return edits_[static_cast<size_t>(id - IdComment1)];
        default:
            return nullptr;
    }
}

void CCommentDlg::accept() {
    // A line left as seeded comes back byte for byte, even one longer than the
    // edit takes. Only an edited line shown from undecodable bytes can fail.
    for (size_t i = 0; i < edits_.size(); ++i) {
        std::string text;
        if (!edits_[i]->GetCp932Text(text)) {
            showMessage_(Cp932LineEdit::NotCp932Text());
            edits_[i]->setFocus(Qt::OtherFocusReason);
            edits_[i]->selectAll();
            return;
        }
        editTexts[i] = std::move(text);
    }
    results = editTexts;
    CDialog::accept();
}

}  // namespace quolix::app
