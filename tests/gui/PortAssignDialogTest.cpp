#include "settings/dialog/PortAssignDialog.h"

#include <cstdlib>
#include <string>

#include <QListWidget>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "link/ComPortMap.h"
#include "link/SysfsPortRegistry.h"
#include "support/FakeSerialTree.h"

namespace quolix {
namespace {

using testing::U;

// The list offers "no device" and every present device, says which number a
// device has now, starts on the number's own device, and returns the choice.
TEST(PortAssignDialogTest, ListsThePresentDevicesAndReturnsTheChosenName) {
    testing::FakeSerialTree tree;
    ASSERT_TRUE(tree.Ok());
    const std::string ftdi = "usb-FTDI_FT232R_USB_UART_A600XYZ-if00-port0";
    tree.AddUart(0, 4);
    tree.AddAdapter("ttyUSB0", ftdi, "FTDI", "FT232R USB UART", "A600XYZ");
    for (const char* name : {"QUOLIX_COM1", "QUOLIX_COM2"}) {
        ::unsetenv(name);
    }
    const SysfsPortRegistry registry(tree.Root());
    ComPortMap map(registry, tree.Root() + "/ports");
    ASSERT_TRUE(map.Refresh().ok);

    PortAssignDialog dialog(map, 1);
    const auto* list = dialog.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), U("(割り当てなし)"));
    EXPECT_EQ(list->item(1)->text(), U("シリアルポート (ttyS0) - 現在 COM1"));
    EXPECT_EQ(list->item(2)->text(), U("FTDI FT232R USB UART (ttyUSB0)"));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(dialog.Chosen(), ftdi);
    dialog.findChild<QListWidget*>()->setCurrentRow(1);
    EXPECT_EQ(dialog.Chosen(), "ttyS0");
    dialog.findChild<QListWidget*>()->setCurrentRow(0);
    EXPECT_EQ(dialog.Chosen(), "");
}

}  // namespace
}  // namespace quolix
