#pragma once

#include <string>
#include <string_view>

#include <QLineEdit>
#include <QString>

namespace quolix {

// A single-line edit for the system's CP932 text. Input that CP932 cannot
// hold, or that would take the text past its limit in bytes (a double-byte
// character counts two), is refused as it is typed or pasted, never altered,
// and a tool tip says why. Text shown with SetCp932Text comes back from
// GetCp932Text as the very same bytes while the user leaves it alone, so a
// damaged or over-long text read from a file is not changed by just looking.
class Cp932LineEdit : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr int NoLimit = -1;

    explicit Cp932LineEdit(int byteLimit = NoLimit, QWidget* parent = nullptr);

    // Use this rather than setText: the refusal rules compare every change
    // with the text before it, and this makes the shown text that baseline.
    void SetCp932Text(std::string_view text);
    // False (out empty) when the edited text holds a character CP932 cannot:
    // possible only after editing a text shown from undecodable bytes.
    bool GetCp932Text(std::string& out) const;

    // The explanation of the latest refused input; empty while none was refused.
    const QString& LastRefusal() const { return lastRefusal_; }

    static QString NotCp932Text();
    static QString TooLongText();

  signals:
    void inputRefused(const QString& reason);

  private:
    class Validator;
    enum class Refusal { None, NotCp932, TooLong };

    // Judges a proposed text against the last accepted one: a change may not
    // add characters CP932 cannot hold, nor grow the text in bytes past the
    // limit. Shrinking an over-long or damaged text is always allowed.
    Refusal Judge(const QString& proposed) const;
    void ReportRefusal();

    int byteLimit_;
    QString accepted_;  // the text before the change being judged
    std::string shownBytes_;
    QString shownText_;
    mutable Refusal pending_ = Refusal::None;
    QString lastRefusal_;
};

}  // namespace quolix
