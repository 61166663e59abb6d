#pragma once

#include <array>
#include <functional>
#include <string>

#include <QString>

#include "framework/qt/CDialog.h"
#include "framework/qt/DialogUnits.h"

namespace quolix {

class Cp932LineEdit;

namespace app {

// "注釈の入力": the three comment lines printed under the graph. Seeded with
// the view's lines; OK hands the edited lines out through Result(), Cancel
// leaves Result() as seeded.
class CCommentDlg : public CDialog {
    Q_OBJECT
  public:
    using Lines = std::array<std::string, 3>;
    enum ControlId : int { IdOk = 1, IdCancel = 2, IdComment1 = 1000, IdComment2, IdComment3 };
    static constexpr int LineLimit = 80;  // bytes of CP932

    using MessageShower = std::function<void(const QString& text)>;

    explicit CCommentDlg(QWidget* parent = nullptr);

    void Seed(const Lines& lines);
    const Lines& Result() const { return results; }

    void SetMessageShower(MessageShower shower) { showMessage_ = std::move(shower); }
    void accept() override;

    QWidget* Control(int id) const;
    const DialogUnits& Units() const { return units_; }

    Lines editTexts;
    Lines results;  // the seeded lines, replaced by the edited ones on OK

  private:
    DialogUnits units_;
    MessageShower showMessage_;
    std::array<Cp932LineEdit*, 3> edits_{};
    QWidget* ok_ = nullptr;
    QWidget* cancel_ = nullptr;
};

}  // namespace app
}  // namespace quolix
