#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/ComPortMap.h"
#include "link/PortBindings.h"
#include "link/PortOpenError.h"
#include "link/SysfsPortRegistry.h"
#include "support/FakeSerialTree.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using testing::FakeSerialTree;
using testing::ReadBytes;
using testing::SettingsTempDir;
using testing::WriteBytes;

const std::string FtdiId = "usb-FTDI_FT232R_USB_UART_A600XYZ-if00-port0";
const std::string ProlificId = "usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";

class PortRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tree.Ok());
        ASSERT_TRUE(config.Ok());
        for (int n = 1; n <= PortCount; ++n) {
            const std::string name = "QUOLIX_COM" + std::to_string(n);
            ::unsetenv(name.c_str());
        }
    }
    // A fresh map each time, as every program start makes one.
    ComPortMap Refreshed() {
        ComPortMap map(registry, bindings);
        EXPECT_TRUE(map.Refresh().ok);
        return map;
    }

    FakeSerialTree tree;
    SettingsTempDir config;
    SysfsPortRegistry registry{tree.Root()};
    std::string bindings = config.File("quolix/ports");
};

TEST_F(PortRegistryTest, ListsRealUartsAndAdaptersWithTheirWords) {
    tree.AddUart(1, 4);
    tree.AddUart(0, 0);  // no UART behind it
    tree.AddAdapter("ttyUSB1", ProlificId, "Prolific Technology Inc.", "USB-Serial Controller", "");
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    tree.AddAdapter("ttyACM0", "", "Arduino (www.arduino.cc)", "Arduino Uno", "85\x01");

    const std::vector<SerialDevice> devices = registry.PresentDevices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].kind, SerialDevice::Kind::Uart);
    EXPECT_EQ(devices[0].stableName, "ttyS1");
    EXPECT_EQ(DeviceText(devices[0]), "シリアルポート (ttyS1)");
    EXPECT_EQ(devices[1].stableName, "ttyACM0");
    EXPECT_EQ(DeviceText(devices[1]), "Arduino (www.arduino.cc) Arduino Uno (ttyACM0)");
    EXPECT_EQ(devices[1].serialNumber, "85?");
    EXPECT_EQ(devices[2].stableName, FtdiId);
    EXPECT_EQ(devices[2].path, tree.Dev("ttyUSB0"));
    EXPECT_EQ(DeviceText(devices[2]), "FTDI FT232R USB UART (ttyUSB0)");
    EXPECT_EQ(devices[2].serialNumber, "A600XYZ");
    EXPECT_EQ(devices[3].stableName, ProlificId);
}

TEST_F(PortRegistryTest, FirstSightGivesTheLowestFreeNumberAndStoresIt) {
    tree.AddUart(0, 4);
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    ComPortMap map = Refreshed();
    EXPECT_EQ(map.Port(0).device, tree.Dev("ttyS0"));
    EXPECT_EQ(map.Port(1).text, "FTDI FT232R USB UART (ttyUSB0)");
    EXPECT_TRUE(map.Port(1).present);
    EXPECT_EQ(map.Port(2).text, "未接続");
    EXPECT_EQ(map.Port(2).device, "");
    EXPECT_EQ(ReadBytes(bindings), "COM1=ttyS0\nCOM2=" + FtdiId + "\n");
    EXPECT_TRUE(map.Unbound().empty());
}

TEST_F(PortRegistryTest, ABindingSurvivesUnpluggingAndANewNode) {
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    Refreshed();

    tree.Unplug("ttyUSB0", FtdiId);
    tree.AddAdapter("ttyUSB1", ProlificId, "Prolific", "USB-Serial Controller", "");
    ComPortMap away = Refreshed();
    EXPECT_FALSE(away.Port(0).present);
    EXPECT_EQ(away.Port(0).text, "未接続");
    EXPECT_EQ(away.Port(0).stableName, FtdiId);
    // Opening it names the node it would be, so the message says who is missing.
    EXPECT_EQ(away.Port(0).device, tree.Root() + "/dev/serial/by-id/" + FtdiId);
    EXPECT_EQ(away.Port(1).stableName, ProlificId);

    tree.AddAdapter("ttyUSB0", FtdiId + "x", "Other", "Adapter", "");
    tree.AddAdapter("ttyUSB2", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    const ComPortMap back = Refreshed();
    EXPECT_EQ(back.Port(0).device, tree.Dev("ttyUSB2"));
    EXPECT_TRUE(back.Port(0).present);
    EXPECT_EQ(back.Port(1).stableName, ProlificId);
    EXPECT_EQ(back.Port(2).stableName, FtdiId + "x");
}

TEST_F(PortRegistryTest, TheEnvironmentWins) {
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    ::setenv("QUOLIX_COM1", "/tmp/quolix-test-counter", 1);
    const ComPortMap map = Refreshed();
    const ComPort com1 = map.Port(0);
    ::unsetenv("QUOLIX_COM1");
    EXPECT_EQ(com1.device, "/tmp/quolix-test-counter");
    EXPECT_TRUE(com1.fromEnvironment);
    EXPECT_EQ(com1.text, "/tmp/quolix-test-counter (QUOLIX_COM1)");
    EXPECT_EQ(ReadBytes(bindings), "COM1=" + FtdiId + "\n");
}

TEST_F(PortRegistryTest, BindingMovesADeviceAndIsStored) {
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    tree.AddAdapter("ttyUSB1", ProlificId, "Prolific", "USB-Serial Controller", "");
    ComPortMap map = Refreshed();
    ASSERT_TRUE(map.Bind(4, ProlificId).ok);
    EXPECT_EQ(map.Port(1).text, "未接続");
    EXPECT_EQ(map.Port(4).device, tree.Dev("ttyUSB1"));
    EXPECT_EQ(ReadBytes(bindings), "COM1=" + FtdiId + "\nCOM5=" + ProlificId + "\n");
    EXPECT_FALSE(map.Bind(2, "usb-not-here").ok);
    EXPECT_EQ(Refreshed().Port(4).stableName, ProlificId);
}

TEST_F(PortRegistryTest, ACorruptFileIsReadAsFarAsItCanBeAndRewrittenOnChange) {
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    std::filesystem::create_directories(config.Path() + "/quolix");
    WriteBytes(bindings,
               std::string("\xff\xfe\0garbage\n", 11) + "COM3=" + FtdiId + "\r\nCOM9=x\n");
    ComPortMap map = Refreshed();
    EXPECT_EQ(map.Port(2).device, tree.Dev("ttyUSB0"));
    ASSERT_TRUE(map.Bind(0, FtdiId).ok);
    EXPECT_EQ(ReadBytes(bindings), "COM1=" + FtdiId + "\n");
}

TEST_F(PortRegistryTest, AFailedStoreIsReportedAndTheMapStillWorks) {
    tree.AddAdapter("ttyUSB0", FtdiId, "FTDI", "FT232R USB UART", "A600XYZ");
    WriteBytes(config.File("quolix"), "a file where the folder should be");
    ComPortMap map(registry, bindings);
    const Status stored = map.Refresh();
    EXPECT_FALSE(stored.ok);
    EXPECT_NE(stored.message.find(bindings), std::string::npos);
    EXPECT_EQ(map.Port(0).device, tree.Dev("ttyUSB0"));
}

struct BindingCase {
    const char* text;
    const char* formatted;
};

class BindingFileCases : public ::testing::TestWithParam<BindingCase> {};

TEST_P(BindingFileCases, ParseKeepsWhatIsABinding) {
    EXPECT_EQ(PortBindings::Parse(GetParam().text).Format(), GetParam().formatted);
}

const BindingCase BindingCases[] = {
    {"", ""},
    {"COM2=ttyS0\nCOM1=usb-a\n", "COM1=usb-a\nCOM2=ttyS0\n"},
    {"COM1=usb-a\nCOM1=usb-b\nCOM2=usb-a\n", "COM1=usb-a\n"},  // first of each wins
    {"COM0=a\nCOM7=b\nCOM1 =c\ncom1=d\nCOM1=\n", ""},
    {"COM1=has blank\nCOM2=../../etc/passwd\nCOM3=..\nCOM4=ok", "COM4=ok\n"},
};

INSTANTIATE_TEST_SUITE_P(Bindings, BindingFileCases, ::testing::ValuesIn(BindingCases));

struct ReasonCase {
    int error;
    PortOpenReason reason;
    const char* words;
};

class OpenErrorCases : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(OpenErrorCases, SayWhichPortWhichDeviceAndWhy) {
    const ReasonCase& c = GetParam();
    EXPECT_EQ(PortOpenReasonFor(c.error), c.reason);
    EXPECT_EQ(PortOpenErrorText({c.reason, c.error, "COM2", "/dev/ttyUSB0"}),
              std::string("COM2 /dev/ttyUSB0: ") + c.words);
}

const ReasonCase ReasonCases[] = {
    {ENOENT, PortOpenReason::NotPresent, "デバイスが接続されていません。"},
    {ENXIO, PortOpenReason::NotPresent, "デバイスが接続されていません。"},
    {EACCES, PortOpenReason::NoPermission,
     "ポートを使う権限がありません。dialout グループに入ってください "
     "(sudo usermod -aG dialout $USER の後、ログインし直します)。"},
    {EBUSY, PortOpenReason::InUse, "他のプログラムが使用中です。"},
    {EWOULDBLOCK, PortOpenReason::InUse, "他のプログラムが使用中です。"},
    {ENOTTY, PortOpenReason::NotATerminal, "シリアルポートではありません。"},
    {EIO, PortOpenReason::Other, "開けません。(入出力エラーが発生しました)"},
};

INSTANTIATE_TEST_SUITE_P(Reasons, OpenErrorCases, ::testing::ValuesIn(ReasonCases));

// What the status bar and the messages name when a part is not known.
TEST(OpenErrorTest, ANumberOrADeviceStandsAlone) {
    EXPECT_EQ(PortOpenErrorText({PortOpenReason::NotAssigned, 0, "COM2", ""}),
              "COM2: デバイスが割り当てられていません。");
    EXPECT_EQ(PortOpenErrorText({PortOpenReason::NotPresent, ENOENT, "", "/dev/ttyUSB7"}),
              "/dev/ttyUSB7: デバイスが接続されていません。");
    EXPECT_EQ(PortOpenErrorText({PortOpenReason::Other, 0, "COM1", "/dev/ttyS0"}),
              "COM1 /dev/ttyS0: 開けません。");
    EXPECT_EQ(PortLabel({PortOpenReason::None, 0, "COM1", "/dev/ttyUSB0"}), "COM1 /dev/ttyUSB0");
}

}  // namespace
}  // namespace quolix
