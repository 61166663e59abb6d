#pragma once

#include <optional>
#include <string>

#include "framework/qt/CDialog.h"

class QListWidget;

namespace quolix {

class ComPortMap;

// "ポートの割り当て": the present devices, one of which the chosen COM number
// is to mean, and a first line that leaves the number without a device.
class PortAssignDialog : public CDialog {
    Q_OBJECT
  public:
    PortAssignDialog(const ComPortMap& map, int index, QWidget* parent = nullptr);

    // The stable name chosen; empty for no device. Valid after Accepted.
    std::string Chosen() const;

    // Runs the dialog; nullopt when it was cancelled.
    static std::optional<std::string> Ask(const ComPortMap& map, int index, QWidget* parent);

  private:
    QListWidget* list_ = nullptr;
};

}  // namespace quolix
