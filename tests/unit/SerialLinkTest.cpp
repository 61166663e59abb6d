#include "link/SerialLink.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/UniqueFd.h"
#include "link/PortNames.h"
#include "support/FakeSerialTree.h"

namespace quolix {
namespace {

constexpr int32_t Untouched = -424242;
// Bounded waits for the kernel to move bytes between the two ends.
constexpr int WaitSteps = 200;
constexpr int StepMs = 10;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// A pseudo-terminal: the test plays the counter on the master, the link opens
// the slave by its path. The test keeps its own slave descriptor to watch the
// slave's input queue.
class Pty {
  public:
    Pty() {
        int master = -1;
        int slave = -1;
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
            return;
        }
        master_.Reset(master);
        slave_.Reset(slave);
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
        std::array<char, 256> name{};
        if (::ttyname_r(slave, name.data(), name.size()) == 0) {
            path_ = name.data();
        }
    }

    bool Ok() const { return master_.Valid() && !path_.empty(); }
    const std::string& Path() const { return path_; }
    int Master() const { return master_.Get(); }
    int Slave() const { return slave_.Get(); }
    void CloseMaster() { master_.Reset(); }

    bool Write(const std::string& bytes) {
        return ::write(master_.Get(), bytes.data(), bytes.size()) ==
               static_cast<ssize_t>(bytes.size());
    }

    // Bytes the slave side can read now.
    int Waiting() const {
        int waiting = -1;
        ::ioctl(slave_.Get(), FIONREAD, &waiting);
        return waiting;
    }

    bool WaitUntilWaiting(int count) const {
        for (int i = 0; i < WaitSteps; ++i) {
            if (Waiting() >= count) {
                return true;
            }
            ::usleep(StepMs * 1000);
        }
        return false;
    }

    // One byte the link sent, or -1 when none came.
    int ReadMasterByte() {
        pollfd watch{master_.Get(), POLLIN, 0};
        if (::poll(&watch, 1, WaitSteps * StepMs) != 1) {
            return -1;
        }
        uint8_t byte = 0;
        return ::read(master_.Get(), &byte, 1) == 1 ? byte : -1;
    }

  private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string path_;
};

class SerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pty_.Ok()); }

    // Writes a reply on the master and waits until the slave holds it all.
    void Deliver(const std::string& bytes) {
        const int before = pty_.Waiting();
        ASSERT_TRUE(pty_.Write(bytes));
        ASSERT_TRUE(pty_.WaitUntilWaiting(before + static_cast<int>(bytes.size())));
    }

    Pty pty_;
};

TEST_F(SerialLinkTest, ReplyOnTheLineBecomesAReading) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.DevicePath(), pty_.Path());
    Deliver("01234567\r\n");
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 1);
    EXPECT_EQ(reading, 1234567);
    EXPECT_EQ(pty_.Waiting(), 0);
}

TEST_F(SerialLinkTest, NothingWaitingLeavesReadingUntouched) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    EXPECT_EQ(reading, Untouched);
}

TEST_F(SerialLinkTest, MalformedReplyGivesNoReading) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    Deliver("0123456\r\n");
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    EXPECT_EQ(reading, Untouched);
}

TEST_F(SerialLinkTest, DrainTakesAtMost1024BytesAndLeavesTheRest) {
    // 1019 junk bytes and a line feed, then "1234" ending the first 1024
    // bytes; "5678" and CR complete the reply only in the second drain.
    std::string bytes(1019, 'x');
    bytes += "\n1234";
    ASSERT_EQ(bytes.size(), 1024u);
    bytes += "5678\r";
    bytes += std::string(1500 - bytes.size(), '\n');
    ASSERT_EQ(bytes.size(), 1500u);

    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    Deliver(bytes);
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    EXPECT_EQ(reading, Untouched);
    EXPECT_EQ(pty_.Waiting(), 476);
    EXPECT_EQ(link.ReceivePending(reading), 1);
    EXPECT_EQ(reading, 12345678);
    EXPECT_EQ(pty_.Waiting(), 0);
    EXPECT_EQ(link.ReceivePending(reading), 0);
}

TEST_F(SerialLinkTest, AccumulatorSurvivesClosingAndReopening) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    Deliver("1234");
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    link.ClosePort();
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    Deliver("5678\r");
    EXPECT_EQ(link.ReceivePending(reading), 1);
    EXPECT_EQ(reading, 12345678);
}

TEST_F(SerialLinkTest, SendBytePutsTheRequestOnTheLine) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    EXPECT_EQ(link.SendByte(0x0D), 1);
    EXPECT_EQ(pty_.ReadMasterByte(), 0x0D);
}

TEST_F(SerialLinkTest, SecondLinkOnAHeldDeviceFails) {
    SerialLink holder;
    ASSERT_EQ(holder.OpenDevice(pty_.Path()), 1);
    Deliver("00000042\r");
    SerialLink second;
    EXPECT_EQ(second.OpenDevice(pty_.Path()), 0);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.DevicePath(), pty_.Path());
    EXPECT_EQ(second.LastOpenError().reason, PortOpenReason::InUse);
    // The refused opener must not have flushed or reconfigured the holder's line.
    int32_t reading = Untouched;
    EXPECT_EQ(holder.ReceivePending(reading), 1);
    EXPECT_EQ(reading, 42);
}

TEST_F(SerialLinkTest, HolderLockTurnsAwayAnotherDescriptorEvenForRoot) {
    SerialLink holder;
    ASSERT_EQ(holder.OpenDevice(pty_.Path()), 1);
    // As root the open itself succeeds despite TIOCEXCL; then the lock fails.
    UniqueFd other(::open(pty_.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (other.Valid()) {
        const int locked = ::flock(other.Get(), LOCK_EX | LOCK_NB);
        const int error = errno;
        EXPECT_NE(locked, 0);
        EXPECT_EQ(error, EWOULDBLOCK);
    } else {
        EXPECT_EQ(errno, EBUSY);
    }
}

TEST_F(SerialLinkTest, DeviceLockedByAnotherProgramIsRefused) {
    UniqueFd other(::open(pty_.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(other.Valid());
    ASSERT_EQ(::flock(other.Get(), LOCK_EX | LOCK_NB), 0);
    SerialLink link;
    EXPECT_EQ(link.OpenDevice(pty_.Path()), 0);
    EXPECT_EQ(link.LastOpenError().reason, PortOpenReason::InUse);
    other.Reset();
    EXPECT_EQ(link.OpenDevice(pty_.Path()), 1);
}

TEST_F(SerialLinkTest, DeviceCanBeOpenedAgainAfterClose) {
    SerialLink first;
    ASSERT_EQ(first.OpenDevice(pty_.Path()), 1);
    first.ClosePort();
    EXPECT_FALSE(first.IsOpen());
    SerialLink second;
    EXPECT_EQ(second.OpenDevice(pty_.Path()), 1);
    second.ClosePort();
    EXPECT_EQ(first.OpenDevice(pty_.Path()), 1);
}

TEST_F(SerialLinkTest, DestroyingTheLinkReleasesTheDevice) {
    {
        SerialLink first;
        ASSERT_EQ(first.OpenDevice(pty_.Path()), 1);
    }
    SerialLink second;
    EXPECT_EQ(second.OpenDevice(pty_.Path()), 1);
}

// The port is closed at the first failing call, so that nothing holds the
// device's name while it is away, and the link says it is lost.
TEST_F(SerialLinkTest, VanishedDeviceIsLostAndClosedAtOnce) {
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    Deliver("0123");
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    ASSERT_TRUE(pty_.Write("4567\r"));
    pty_.CloseMaster();
    EXPECT_EQ(link.Lost(), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(link.ReceivePending(reading), 0);
        EXPECT_EQ(link.Lost(), 1);
        EXPECT_FALSE(link.IsOpen());
    }
    EXPECT_EQ(reading, Untouched);
    EXPECT_EQ(link.SendByte(0x0D), 0);
    link.ClosePort();
    EXPECT_FALSE(link.IsOpen());
    link.ClosePort();
    // The half reply of the device that went is not the start of the next
    // device's reply.
    Pty back;
    ASSERT_TRUE(back.Ok());
    ASSERT_EQ(link.OpenDevice(back.Path()), 1);
    EXPECT_EQ(link.Lost(), 0);
    ASSERT_TRUE(back.Write("4567\r"));
    ASSERT_TRUE(back.WaitUntilWaiting(5));
    EXPECT_EQ(link.ReceivePending(reading), 0);
    EXPECT_EQ(reading, Untouched);
}

// Left by a previous program, these would drop or mark bytes with parity or
// framing errors instead of passing them to the parser.
TEST_F(SerialLinkTest, OpenClearsTheParityAndErrorMarkingInputFlags) {
    constexpr tcflag_t Marking = INPCK | IGNPAR | PARMRK | ISTRIP | IGNBRK | BRKINT;
    termios before{};
    ASSERT_EQ(::tcgetattr(pty_.Slave(), &before), 0);
    before.c_iflag |= Marking;
    ASSERT_EQ(::tcsetattr(pty_.Slave(), TCSANOW, &before), 0);
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty_.Path()), 1);
    termios after{};
    ASSERT_EQ(::tcgetattr(pty_.Slave(), &after), 0);
    EXPECT_EQ(after.c_iflag & Marking, 0u);
}

TEST(SerialLinkClosedTest, OperationsWithoutAPortDoNothing) {
    SerialLink link;
    int32_t reading = Untouched;
    EXPECT_EQ(link.ReceivePending(reading), 0);
    EXPECT_EQ(reading, Untouched);
    EXPECT_EQ(link.SendByte(0x0D), 0);
    link.ClosePort();
    link.ClosePort();
    EXPECT_FALSE(link.IsOpen());
}

TEST(SerialLinkClosedTest, MissingDeviceFails) {
    SerialLink link;
    const std::string path = "/nonexistent/quolix-test-port";
    EXPECT_EQ(link.OpenDevice(path), 0);
    EXPECT_EQ(link.LastOpenError().error, ENOENT);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.DevicePath(), path);
}

TEST(SerialLinkClosedTest, OrdinaryFileIsNotAPortAndStaysUnchanged) {
    char name[] = "/tmp/quolix-link-test-XXXXXX";
    UniqueFd file(::mkstemp(name));
    ASSERT_TRUE(file.Valid());
    ASSERT_EQ(::write(file.Get(), "data", 4), 4);
    SerialLink link;
    EXPECT_EQ(link.OpenDevice(name), 0);
    EXPECT_EQ(link.LastOpenError().error, ENOTTY);
    EXPECT_EQ(link.SendByte(0x0D), 0);
    struct stat info {};
    ASSERT_EQ(::fstat(file.Get(), &info), 0);
    EXPECT_EQ(info.st_size, 4);
    ::unlink(name);
}

TEST(SerialLinkClosedTest, FailedOpenClosesThePortOpenBefore) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    SerialLink link;
    ASSERT_EQ(link.OpenDevice(pty.Path()), 1);
    EXPECT_EQ(link.OpenDevice("/nonexistent/quolix-test-port"), 0);
    EXPECT_FALSE(link.IsOpen());
    SerialLink other;
    EXPECT_EQ(other.OpenDevice(pty.Path()), 1);
}

TEST(SerialLinkPortTest, OpenPortUsesTheDeviceNamedInTheEnvironment) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    const ScopedEnv com1("QUOLIX_COM1", pty.Path().c_str());
    SerialLink link;
    EXPECT_EQ(link.OpenPort(0), 1);
    EXPECT_EQ(link.DevicePath(), pty.Path());
    link.ClosePort();
    // Out-of-range indices mean the first port.
    EXPECT_EQ(link.OpenPort(-1), 1);
    EXPECT_EQ(link.DevicePath(), pty.Path());
}

TEST(SerialLinkPortTest, OpenPortOnAMissingDeviceFails) {
    const ScopedEnv com4("QUOLIX_COM4", "/nonexistent/quolix-com4");
    SerialLink link;
    EXPECT_EQ(link.OpenPort(3), 0);
    EXPECT_EQ(link.DevicePath(), "/nonexistent/quolix-com4");
    EXPECT_EQ(link.LastOpenError().port, "COM4");
    EXPECT_EQ(link.LastOpenError().reason, PortOpenReason::NotPresent);
}

struct PortCase {
    int index;
    const char* name;
};

class PortNameCases : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortNameCases, IndexMapsToName) {
    EXPECT_EQ(PortName(GetParam().index), GetParam().name);
}

const PortCase PortCases[] = {
    {0, "COM1:"}, {1, "COM2:"}, {2, "COM3:"},   {3, "COM4:"},  {4, "COM5:"},
    {5, "COM6:"}, {6, "COM1:"}, {100, "COM1:"}, {-1, "COM1:"}, {-2147483647 - 1, "COM1:"},
};

INSTANTIATE_TEST_SUITE_P(Ports, PortNameCases, ::testing::ValuesIn(PortCases));

TEST(PortNamesTest, EnvironmentOverridesTheDevice) {
    const ScopedEnv com6("QUOLIX_COM6", "/dev/ttyUSB0");
    const ScopedEnv com1("QUOLIX_COM1", "/dev/ttyACM0");
    EXPECT_EQ(PortDevice(5), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevice(0), "/dev/ttyACM0");
    EXPECT_EQ(PortDevice(100), "/dev/ttyACM0");
}

// Without the variable the user's bindings on the system's devices decide;
// an empty value counts as unset.
TEST(PortNamesTest, WithoutTheVariableTheBoundDeviceIsOpened) {
    testing::FakeSerialTree tree;
    tree.AddAdapter("ttyUSB3", "usb-FTDI_FT232R_USB_UART_A1-if00-port0", "FTDI", "FT232R", "A1");
    const ScopedEnv root("QUOLIX_DEVICE_ROOT", tree.Root().c_str());
    const ScopedEnv config("XDG_CONFIG_HOME", (tree.Root() + "/config").c_str());
    const ScopedEnv com1("QUOLIX_COM1", "");
    const ScopedEnv com2("QUOLIX_COM2", nullptr);
    EXPECT_EQ(PortDevice(0), tree.Dev("ttyUSB3"));
    EXPECT_EQ(PortDevice(1), "");

    SerialLink link;
    EXPECT_EQ(link.OpenPort(1), 0);
    EXPECT_EQ(link.LastOpenError().reason, PortOpenReason::NotAssigned);
    EXPECT_EQ(link.LastOpenError().port, "COM2");
    // An ordinary file where the node should be is refused as not a port.
    EXPECT_EQ(link.OpenPort(0), 0);
    EXPECT_EQ(link.LastOpenError().reason, PortOpenReason::NotATerminal);
    EXPECT_EQ(link.LastOpenError().device, tree.Dev("ttyUSB3"));
}

}  // namespace
}  // namespace quolix
