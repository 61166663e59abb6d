#include "settings/dialog/PortAssignDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/ComPortMap.h"

namespace quolix {

namespace {

constexpr int NameRole = Qt::UserRole;

}  // namespace

PortAssignDialog::PortAssignDialog(const ComPortMap& map, int index, QWidget* parent)
    : CDialog(parent) {
    const ComPort port = map.Port(index);
    setWindowTitle(QStringLiteral("ポートの割り当て"));
    auto* layout = new QVBoxLayout(this);  // owned by the dialog
    layout->addWidget(new QLabel(
        QStringLiteral("%1 に割り当てるデバイス:").arg(QString::fromStdString(port.name)), this));
    list_ = new QListWidget(this);
    auto* none = new QListWidgetItem(QStringLiteral("(割り当てなし)"), list_);
    none->setData(NameRole, QString());
    list_->setCurrentItem(none);
    for (const SerialDevice& device : map.Devices()) {
        QString text = QString::fromStdString(DeviceText(device));
        // Choosing a device that has a number moves it here.
        for (int other = 0; other < PortCount; ++other) {
            if (other != PortSlot(index) && map.Port(other).stableName == device.stableName) {
                text +=
                    QStringLiteral(" - 現在 %1").arg(QString::fromStdString(map.Port(other).name));
            }
        }
        auto* item = new QListWidgetItem(text, list_);
        item->setData(NameRole, QString::fromStdString(device.stableName));
        item->setToolTip(QString::fromStdString(device.stableName));
        if (device.stableName == port.stableName) {
            list_->setCurrentItem(item);
        }
    }
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 24);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string PortAssignDialog::Chosen() const {
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(NameRole).toString().toStdString() : std::string();
}

std::optional<std::string> PortAssignDialog::Ask(const ComPortMap& map, int index,
                                                 QWidget* parent) {
    PortAssignDialog dialog(map, index, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Chosen();
}

}  // namespace quolix
