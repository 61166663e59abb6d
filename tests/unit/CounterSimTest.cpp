// Starts the real simulator program and talks to it through SerialLink, the
// way the application and the end-to-end tests will.
#ifdef QUOLIX_COUNTER_SIM

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/UniqueFd.h"
#include "link/SerialLink.h"

extern char** environ;

namespace quolix {
namespace {

// Bounded waits: up to 2 s in 10 ms steps for anything that should happen.
constexpr int WaitSteps = 200;
constexpr int StepMs = 10;

void Sleep() {
    ::usleep(StepMs * 1000);
}

// A scratch folder for the link and script files.
class TempDir {
  public:
    TempDir() {
        char pattern[] = "/tmp/quolix-sim-test-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::string command = "rm -rf '" + path_ + "'";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "could not remove %s\n", path_.c_str());
            }
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// One run of the simulator; killed if a test leaves it running.
class SimProcess {
  public:
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool Start(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return false;
        }
        output_.Reset(fds[0]);
        const UniqueFd writeEnd(fds[1]);
        std::vector<std::string> all{QUOLIX_COUNTER_SIM};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
        const int failed =
            ::posix_spawn(&pid_, QUOLIX_COUNTER_SIM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            pid_ = -1;
        }
        return failed == 0;
    }

    // The line the simulator prints once its link is in place; empty when it
    // ended or said nothing in time.
    std::string ReadyLine() {
        std::string line;
        for (int i = 0; i < WaitSteps; ++i) {
            pollfd watch{output_.Get(), POLLIN, 0};
            if (::poll(&watch, 1, StepMs) == 1) {
                char c = 0;
                if (::read(output_.Get(), &c, 1) != 1) {
                    return "";
                }
                if (c == '\n') {
                    return line;
                }
                line.push_back(c);
            }
        }
        return "";
    }

    // Exit status after a signal, or -1 when it did not end normally in time.
    int Stop(int signal) {
        ::kill(pid_, signal);
        return Wait();
    }

    int Wait() {
        for (int i = 0; i < WaitSteps; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            Sleep();
        }
        return -1;
    }

    bool Running() {
        int status = 0;
        return pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == 0;
    }

  private:
    pid_t pid_ = -1;
    UniqueFd output_;
};

// Sends a carriage return and waits for a reading.
std::optional<int32_t> Request(SerialLink& link, int steps = WaitSteps) {
    link.SendByte(0x0D);
    int32_t reading = 0;
    for (int i = 0; i < steps; ++i) {
        if (link.ReceivePending(reading) == 1) {
            return reading;
        }
        Sleep();
    }
    return std::nullopt;
}

class CounterSimTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir_.Path().empty()); }

    // Starts the simulator on the scratch link and opens the link.
    void StartAndOpen(std::vector<std::string> args) {
        args.insert(args.begin(), {"--link", Link()});
        ASSERT_TRUE(sim_.Start(args));
        const std::string ready = sim_.ReadyLine();
        ASSERT_EQ(ready.rfind(Link() + " -> /dev/", 0), 0u) << ready;
        ASSERT_EQ(link_.OpenDevice(Link()), 1);
    }

    std::vector<int32_t> Readings(int count) {
        std::vector<int32_t> readings;
        for (int i = 0; i < count; ++i) {
            const std::optional<int32_t> reading = Request(link_);
            if (!reading) {
                ADD_FAILURE() << "no reply to request " << i;
                break;
            }
            readings.push_back(*reading);
        }
        return readings;
    }

    std::string Link() const { return dir_.Path() + "/com1"; }

    TempDir dir_;
    SimProcess sim_;
    SerialLink link_;
};

struct ResolutionCase {
    const char* resolution;
    int32_t reading;
};

class CounterSimResolution : public CounterSimTest,
                             public ::testing::WithParamInterface<ResolutionCase> {};

TEST_P(CounterSimResolution, ReplyMatchesTheConfiguredFrequency) {
    StartAndOpen({"--freq-hz", "12345600", "--resolution", GetParam().resolution});
    const std::optional<int32_t> reading = Request(link_);
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(*reading, GetParam().reading);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, CounterSimResolution,
                         ::testing::Values(ResolutionCase{"0", 123456},
                                           ResolutionCase{"1", 1234560},
                                           ResolutionCase{"2", 12345600}));

TEST_F(CounterSimTest, DefaultCounterReadsTenMegahertz) {
    StartAndOpen({});
    EXPECT_EQ(Readings(3), (std::vector<int32_t>{100000, 100000, 100000}));
}

TEST_F(CounterSimTest, DroppedRequestsGetNoReply) {
    StartAndOpen({"--drop", "1"});
    EXPECT_FALSE(Request(link_, 50).has_value());
    EXPECT_TRUE(sim_.Running());
}

TEST_F(CounterSimTest, MalformedRepliesHaveTheWrongLength) {
    StartAndOpen({"--malformed", "1", "--seed", "5"});
    link_.ClosePort();
    // Read the raw bytes, past the parser.
    UniqueFd port(::open(Link().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(port.Valid());
    termios raw{};
    ASSERT_EQ(::tcgetattr(port.Get(), &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(port.Get(), TCSANOW, &raw), 0);
    for (int request = 0; request < 4; ++request) {
        ASSERT_EQ(::write(port.Get(), "\r", 1), 1);
        std::string reply;
        for (int i = 0; i < WaitSteps && reply.find('\n') == std::string::npos; ++i) {
            std::array<char, 64> chunk{};
            const ssize_t got = ::read(port.Get(), chunk.data(), chunk.size());
            if (got > 0) {
                reply.append(chunk.data(), static_cast<size_t>(got));
            } else {
                Sleep();
            }
        }
        EXPECT_TRUE(reply == "0010000\r\n" || reply == "001000000\r\n") << reply;
    }
}

TEST_F(CounterSimTest, LateReplyStillArrives) {
    StartAndOpen({"--late", "1", "--late-ms", "100"});
    EXPECT_EQ(Request(link_), std::optional<int32_t>(100000));
    EXPECT_EQ(Request(link_), std::optional<int32_t>(100000));
}

TEST_F(CounterSimTest, SameSeedGivesTheSameNoisySequence) {
    const std::vector<std::string> args{"--noise", "50", "--seed", "7"};
    StartAndOpen(args);
    const std::vector<int32_t> first = Readings(6);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(sim_.Stop(SIGTERM), 0);
    link_.ClosePort();

    StartAndOpen(args);
    EXPECT_EQ(Readings(6), first);
    // The noise is really there.
    EXPECT_NE(first, std::vector<int32_t>(6, 100000));
}

TEST_F(CounterSimTest, ScriptIsPlayedOncePerRequestThenSilence) {
    const std::string script = dir_.Path() + "/replies.txt";
    std::ofstream(script) << "00000001\\r\\n\n"
                             "\n"
                             "0000002\\r\n"
                             "1234567\\xB0\\t\n";
    StartAndOpen({"--script", script});
    EXPECT_EQ(Request(link_), std::optional<int32_t>(1));
    EXPECT_EQ(Request(link_, 20), std::nullopt);  // empty line: no reply
    EXPECT_EQ(Request(link_, 20), std::nullopt);  // seven characters
    EXPECT_EQ(Request(link_), std::optional<int32_t>(1234567));
    EXPECT_EQ(Request(link_, 20), std::nullopt);  // the script has ended
    EXPECT_TRUE(sim_.Running());
}

TEST_F(CounterSimTest, TerminationRemovesTheLinkAndExitsCleanly) {
    StartAndOpen({});
    ASSERT_TRUE(Exists(Link()));
    EXPECT_EQ(sim_.Stop(SIGTERM), 0);
    EXPECT_FALSE(Exists(Link()));
}

TEST_F(CounterSimTest, InterruptRemovesTheLinkAndExitsCleanly) {
    StartAndOpen({});
    EXPECT_EQ(sim_.Stop(SIGINT), 0);
    EXPECT_FALSE(Exists(Link()));
}

TEST_F(CounterSimTest, StaleLinkIsReplaced) {
    ASSERT_EQ(::symlink("/nonexistent/pts", Link().c_str()), 0);
    StartAndOpen({});
    EXPECT_EQ(Request(link_), std::optional<int32_t>(100000));
}

TEST_F(CounterSimTest, RegularFileAtTheLinkPathIsRefused) {
    std::ofstream(Link()) << "keep me";
    ASSERT_TRUE(sim_.Start({"--link", Link()}));
    EXPECT_EQ(sim_.Wait(), 1);
    std::ifstream file(Link());
    std::string content;
    std::getline(file, content);
    EXPECT_EQ(content, "keep me");
}

TEST_F(CounterSimTest, HelpExitsWithZero) {
    ASSERT_TRUE(sim_.Start({"--help"}));
    EXPECT_EQ(sim_.ReadyLine().rfind("Usage: quolix-counter-sim", 0), 0u);
    EXPECT_EQ(sim_.Wait(), 0);
}

class CounterSimBadOption : public CounterSimTest,
                            public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CounterSimBadOption, ExitsWithTwoAndCreatesNoLink) {
    std::vector<std::string> args{"--link", Link()};
    args.insert(args.end(), GetParam().begin(), GetParam().end());
    ASSERT_TRUE(sim_.Start(args));
    EXPECT_EQ(sim_.Wait(), 2);
    EXPECT_FALSE(Exists(Link()));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CounterSimBadOption,
    ::testing::Values(std::vector<std::string>{"--resolution", "3"},
                      std::vector<std::string>{"--drop", "1.5"},
                      std::vector<std::string>{"--bogus"}, std::vector<std::string>{"--seed"},
                      std::vector<std::string>{"--script", "/nonexistent/script"}));

}  // namespace
}  // namespace quolix

#endif  // QUOLIX_COUNTER_SIM
