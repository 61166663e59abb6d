// quolix-counter-sim: a frequency counter on a pseudo-terminal, for tests and
// demonstrations. See SimOptions::Usage for the behaviour.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "counter-sim/CounterModel.h"
#include "counter-sim/ReplyScript.h"
#include "counter-sim/SimOptions.h"
#include "link/UniqueFd.h"

namespace {

using quolix::CounterModel;
using quolix::ModelReply;
using quolix::ReplyScript;
using quolix::SimOptions;
using quolix::UniqueFd;
using Clock = std::chrono::steady_clock;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
// Longest sleep between looks at the stop flag.
constexpr int PollCapMs = 100;

volatile sig_atomic_t stopRequested = 0;

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a signal wakes poll at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A reader of our standard output that went away must not kill us.
    signal(SIGPIPE, SIG_IGN);
}

void SetCloseOnExec(int fd) {
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

// Replaces a symbolic link (left by an earlier run); refuses anything else.
bool CreateLink(const std::string& slave, const std::string& link) {
    struct stat info {};
    if (lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            std::fprintf(stderr, "quolix-counter-sim: %s exists and is not a symbolic link\n",
                         link.c_str());
            return false;
        }
        unlink(link.c_str());
    }
    if (symlink(slave.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "quolix-counter-sim: cannot link %s: %s\n", link.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

// Removes the link only while it is still ours: a later run may have taken
// the path over.
void RemoveLink(const std::string& slave, const std::string& link) {
    std::array<char, 4096> target{};
    const ssize_t length = readlink(link.c_str(), target.data(), target.size() - 1);
    if (length > 0 && std::string(target.data(), static_cast<size_t>(length)) == slave) {
        unlink(link.c_str());
    }
}

// Non-blocking: when nobody drains the slave, what does not fit is lost, as
// on a real line.
void WriteReply(int master, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(master, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            if (written < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        done += static_cast<size_t>(written);
    }
}

struct LateReply {
    Clock::time_point due;
    std::string bytes;
};

class Simulator {
  public:
    Simulator(const SimOptions& options, ReplyScript script, bool scripted)
        : model_(options.model), script_(std::move(script)), scripted_(scripted) {}

    void Run(int master) {
        std::array<uint8_t, 256> received{};
        while (stopRequested == 0) {
            pollfd watch{master, POLLIN, 0};
            const int ready = poll(&watch, 1, TimeoutMs());
            if (ready > 0 && (watch.revents & POLLIN) != 0) {
                const ssize_t got = read(master, received.data(), received.size());
                for (ssize_t i = 0; i < got; ++i) {
                    if (received[static_cast<size_t>(i)] == '\r') {
                        Answer(master);
                    }
                }
            } else if (ready > 0) {
                // Hang-up or error without data: wait instead of spinning.
                poll(nullptr, 0, PollCapMs);
            }
            SendDue(master);
        }
    }

  private:
    void Answer(int master) {
        if (scripted_) {
            const std::string* reply = script_.Next();
            if (reply != nullptr) {
                WriteReply(master, *reply);
            }
            return;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
        ModelReply reply = model_.NextReply(elapsed);
        if (reply.kind == ModelReply::Kind::Dropped) {
            return;
        }
        if (reply.delayMs > 0) {
            late_.push_back(
                {Clock::now() + std::chrono::milliseconds(reply.delayMs), std::move(reply.bytes)});
            return;
        }
        WriteReply(master, reply.bytes);
    }

    int TimeoutMs() const {
        int timeout = PollCapMs;
        const Clock::time_point now = Clock::now();
        for (const LateReply& late : late_) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(late.due - now).count();
            timeout = std::clamp(static_cast<int>(wait), 0, timeout);
        }
        return timeout;
    }

    // Late replies go out in the order they fall due.
    void SendDue(int master) {
        std::stable_sort(late_.begin(), late_.end(),
                         [](const LateReply& a, const LateReply& b) { return a.due < b.due; });
        const Clock::time_point now = Clock::now();
        size_t sent = 0;
        while (sent < late_.size() && late_[sent].due <= now) {
            WriteReply(master, late_[sent].bytes);
            ++sent;
        }
        late_.erase(late_.begin(), late_.begin() + static_cast<std::ptrdiff_t>(sent));
    }

    CounterModel model_;
    ReplyScript script_;
    bool scripted_;
    Clock::time_point start_ = Clock::now();
    std::vector<LateReply> late_;
};

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    switch (SimOptions::Parse(args, options, error)) {
        case SimOptions::Status::Help:
            std::fputs(SimOptions::Usage().c_str(), stdout);
            return 0;
        case SimOptions::Status::Invalid:
            std::fprintf(stderr, "quolix-counter-sim: %s\nTry --help.\n", error.c_str());
            return ExitUsage;
        case SimOptions::Status::Run:
            break;
    }
    ReplyScript script;
    const bool scripted = !options.scriptPath.empty();
    if (scripted && !script.Load(options.scriptPath, error)) {
        std::fprintf(stderr, "quolix-counter-sim: %s\n", error.c_str());
        return ExitUsage;
    }

    InstallSignalHandlers();

    int masterFd = -1;
    int slaveFd = -1;
    if (openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "quolix-counter-sim: openpty: %s\n", std::strerror(errno));
        return ExitFailure;
    }
    const UniqueFd master(masterFd);
    // Held open for the whole run: with no slave open, the master reports a
    // hang-up and reads fail until someone opens it.
    const UniqueFd slave(slaveFd);
    SetCloseOnExec(master.Get());
    SetCloseOnExec(slave.Get());
    fcntl(master.Get(), F_SETFL, fcntl(master.Get(), F_GETFL) | O_NONBLOCK);

    termios tio{};
    if (tcgetattr(slave.Get(), &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave.Get(), TCSANOW, &tio);
    }
    std::array<char, 256> slaveName{};
    if (ttyname_r(slave.Get(), slaveName.data(), slaveName.size()) != 0) {
        std::fprintf(stderr, "quolix-counter-sim: cannot name the pseudo-terminal\n");
        return ExitFailure;
    }
    const std::string slavePath = slaveName.data();
    if (!CreateLink(slavePath, options.linkPath)) {
        return ExitFailure;
    }
    std::printf("%s -> %s\n", options.linkPath.c_str(), slavePath.c_str());
    std::fflush(stdout);

    Simulator simulator(options, std::move(script), scripted);
    simulator.Run(master.Get());

    RemoveLink(slavePath, options.linkPath);
    return 0;
}
