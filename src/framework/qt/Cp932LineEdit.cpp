#include "framework/qt/Cp932LineEdit.h"

#include <QToolTip>
#include <QValidator>

#include "framework/qt/QtText.h"

namespace quolix {
namespace {

// Bytes of the text in CP932, and how many of its characters CP932 cannot hold
// (each counted as one byte). Whole-text conversion first: that is the usual case.
struct Measure {
    qsizetype bytes = 0;
    qsizetype unrepresentable = 0;
};

Measure MeasureText(const QString& text) {
    Measure measure;
    std::string bytes;
    if (QStringToCp932(text, bytes)) {
        measure.bytes = static_cast<qsizetype>(bytes.size());
        return measure;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            length = 2;
        }
        if (QStringToCp932(text.mid(i, length), bytes)) {
            measure.bytes += static_cast<qsizetype>(bytes.size());
        } else {
            ++measure.unrepresentable;
            ++measure.bytes;
        }
        i += length - 1;
    }
    return measure;
}

}  // namespace

class Cp932LineEdit::Validator : public QValidator {
  public:
    explicit Validator(Cp932LineEdit& edit) : QValidator(&edit), edit_(edit) {}

    State validate(QString& input, int&) const override {
        return edit_.Judge(input) == Refusal::None ? Acceptable : Invalid;
    }

  private:
    Cp932LineEdit& edit_;
};

Cp932LineEdit::Cp932LineEdit(int byteLimit, QWidget* parent)
    : QLineEdit(parent), byteLimit_(byteLimit) {
    setValidator(new Validator(*this));  // owned by this edit
    // Every change that got through (or was undone) becomes the new baseline.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
    connect(this, &QLineEdit::inputRejected, this, &Cp932LineEdit::ReportRefusal);
}

QString Cp932LineEdit::NotCp932Text() {
    return QStringLiteral("この文字は使用できません。");
}

QString Cp932LineEdit::TooLongText() {
    return QStringLiteral("これ以上入力できません。");
}

void Cp932LineEdit::SetCp932Text(std::string_view text) {
    shownBytes_ = std::string(text);
    shownText_ = QStringFromCp932(text);
    accepted_ = shownText_;
    setText(shownText_);
}

bool Cp932LineEdit::GetCp932Text(std::string& out) const {
    if (text() == shownText_) {
        out = shownBytes_;
        return true;
    }
    return QStringToCp932(text(), out);
}

Cp932LineEdit::Refusal Cp932LineEdit::Judge(const QString& proposed) const {
    pending_ = Refusal::None;
    if (proposed == accepted_) {
        return pending_;
    }
    const Measure now = MeasureText(proposed);
    const Measure before = MeasureText(accepted_);
    if (now.unrepresentable > before.unrepresentable) {
        pending_ = Refusal::NotCp932;
    } else if (byteLimit_ >= 0 && now.bytes > byteLimit_ && now.bytes > before.bytes) {
        pending_ = Refusal::TooLong;
    }
    return pending_;
}

void Cp932LineEdit::ReportRefusal() {
    if (pending_ == Refusal::None) {
        return;
    }
    lastRefusal_ = pending_ == Refusal::NotCp932 ? NotCp932Text() : TooLongText();
    pending_ = Refusal::None;
    QToolTip::showText(mapToGlobal(QPoint(0, height())), lastRefusal_, this);
    emit inputRefused(lastRefusal_);
}

}  // namespace quolix
