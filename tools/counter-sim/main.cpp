// quolix-counter-sim: a frequency counter on a pseudo-terminal, for tests and
// demonstrations. See SimOptions::Usage for the behaviour.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "QuolixVersion.h"
#include "base/UniqueFd.h"
#include "counter-sim/ReplyScript.h"
#include "counter-sim/SimOptions.h"
#include "counter-sim/Simulator.h"

namespace {

using quolix::ReplyScript;
using quolix::SimOptions;
using quolix::Simulator;
using quolix::UniqueFd;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

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

// One life of the counter: a new pseudo-terminal linked at linkPath, served
// until a signal or, when untilSeconds is not negative, until then; the link
// goes with it.
bool Serve(const std::string& linkPath, Simulator& simulator, double untilSeconds) {
    int masterFd = -1;
    int slaveFd = -1;
    if (openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "quolix-counter-sim: openpty: %s\n", std::strerror(errno));
        return false;
    }
    const UniqueFd master(masterFd);
    // Held open for the whole life: with no slave open, the master reports a
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
        return false;
    }
    const std::string slavePath = slaveName.data();
    if (!CreateLink(slavePath, linkPath)) {
        return false;
    }
    std::printf("%s -> %s\n", linkPath.c_str(), slavePath.c_str());
    std::fflush(stdout);

    simulator.Run(master.Get(), stopRequested, untilSeconds);

    RemoveLink(slavePath, linkPath);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    switch (SimOptions::Parse(args, options, error)) {
        case SimOptions::Status::Help:
            std::fputs(SimOptions::Usage().c_str(), stdout);
            return 0;
        case SimOptions::Status::Version:
            std::printf("quolix-counter-sim %s\n", quolix::VersionText);
            return 0;
        case SimOptions::Status::Invalid:
            std::fprintf(stderr, "quolix-counter-sim: %s\nTry --help.\n", error.c_str());
            return ExitUsage;
        case SimOptions::Status::Run:
            break;
    }
    std::optional<ReplyScript> script;
    if (!options.scriptPath.empty()) {
        script.emplace();
        if (!script->Load(options.scriptPath, error)) {
            std::fprintf(stderr, "quolix-counter-sim: %s\n", error.c_str());
            return ExitUsage;
        }
    }

    InstallSignalHandlers();

    Simulator simulator(options.model, std::move(script));
    simulator.SetSilence(options.silentAt, options.silentFor);
    if (!Serve(options.linkPath, simulator, options.vanishAt)) {
        return ExitFailure;
    }
    if (options.vanishAt < 0) {
        return 0;
    }
    // Away, like a pulled adapter: no device at the path until it returns.
    while (stopRequested == 0 && simulator.Elapsed() < options.vanishAt + options.vanishFor) {
        poll(nullptr, 0, Simulator::PollCapMs);
    }
    if (stopRequested == 0 && !Serve(options.linkPath, simulator, -1)) {
        return ExitFailure;
    }
    return 0;
}
