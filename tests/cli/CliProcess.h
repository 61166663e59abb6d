#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace quolix::testing {

// A fresh directory under the system's temporary folder, removed with all it
// holds when the test ends.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quolix-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline int64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// One run of a program with its standard output and error captured. Killed
// if a test leaves it running.
class CliProcess {
  public:
    // Nothing a test waits for takes longer than this; a hung program fails
    // the test instead of the whole run.
    static constexpr int64_t WaitLimitMs = 20'000;

    struct Result {
        int status = -1;  // exit status, or -1 when it did not exit normally
        std::string out;
        std::string err;
    };

    CliProcess() = default;
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;
    ~CliProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        CloseFds();
    }

    // environment adds or replaces variables; removed takes them out.
    bool Start(const std::string& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& environment = {},
               const std::vector<std::string>& removed = {}) {
        int outPipe[2];
        int errPipe[2];
        if (::pipe2(outPipe, O_CLOEXEC) != 0) {
            return false;
        }
        if (::pipe2(errPipe, O_CLOEXEC) != 0) {
            ::close(outPipe[0]);
            ::close(outPipe[1]);
            return false;
        }
        std::vector<std::string> all{program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);

        std::vector<std::string> envStrings;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            const std::string name = text.substr(0, text.find('='));
            if (environment.count(name) == 0 &&
                std::find(removed.begin(), removed.end(), name) == removed.end()) {
                envStrings.push_back(text);
            }
        }
        for (const auto& [name, value] : environment) {
            envStrings.push_back(name + "=" + value);
        }
        std::vector<char*> envp;
        for (std::string& entry : envStrings) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
        const int failed =
            ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(outPipe[1]);
        ::close(errPipe[1]);
        outFd_ = outPipe[0];
        errFd_ = errPipe[0];
        if (failed != 0) {
            pid_ = -1;
            return false;
        }
        return true;
    }

    // The next whole line of standard output (without its newline); empty
    // when the program ended or said nothing more within timeoutMs.
    std::string ReadLine(int64_t timeoutMs = WaitLimitMs) {
        const int64_t deadline = MonotonicMs() + timeoutMs;
        for (;;) {
            const std::size_t newline = pending_.find('\n');
            if (newline != std::string::npos) {
                std::string line = pending_.substr(0, newline);
                pending_.erase(0, newline + 1);
                return line;
            }
            const int64_t left = deadline - MonotonicMs();
            if (left <= 0 || !Pump(static_cast<int>(left))) {
                return {};
            }
        }
    }

    // Waits until the program's standard error holds text; false when it
    // ended or did not say it within timeoutMs.
    bool WaitForError(const std::string& text, int64_t timeoutMs = WaitLimitMs) {
        const int64_t deadline = MonotonicMs() + timeoutMs;
        while (err_.find(text) == std::string::npos) {
            const int64_t left = deadline - MonotonicMs();
            if (left <= 0 || !Pump(static_cast<int>(left))) {
                return false;
            }
        }
        return true;
    }

    void Signal(int signal) {
        if (pid_ > 0) {
            ::kill(pid_, signal);
        }
    }

    // Collects the rest of both outputs and the exit status.
    Result Finish(int64_t timeoutMs = WaitLimitMs) {
        const int64_t deadline = MonotonicMs() + timeoutMs;
        while (outFd_ >= 0 || errFd_ >= 0) {
            const int64_t left = deadline - MonotonicMs();
            if (left <= 0 || !Pump(static_cast<int>(left))) {
                break;
            }
        }
        Result result;
        if (pid_ > 0) {
            int status = 0;
            for (;;) {
                const pid_t done = ::waitpid(pid_, &status, WNOHANG);
                if (done == pid_) {
                    pid_ = -1;
                    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                    break;
                }
                if (MonotonicMs() >= deadline) {
                    break;
                }
                ::usleep(10'000);
            }
        }
        result.out = pending_ + out_;
        result.err = err_;
        pending_.clear();
        out_.clear();
        return result;
    }

    static Result Run(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& environment = {},
                      const std::vector<std::string>& removed = {}) {
        CliProcess process;
        if (!process.Start(program, args, environment, removed)) {
            return {};
        }
        return process.Finish();
    }

  private:
    // Waits up to timeoutMs for output; false once both outputs are closed
    // or nothing came.
    bool Pump(int timeoutMs) {
        pollfd watch[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (outFd_ < 0 && errFd_ < 0) {
            return false;
        }
        const int ready = ::poll(watch, 2, timeoutMs);
        if (ready <= 0) {
            return false;
        }
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if (watch[i].fd < 0 || watch[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(watch[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                ::close(watch[i].fd);
                (i == 0 ? outFd_ : errFd_) = -1;
                continue;
            }
            (i == 0 ? pending_ : err_).append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }

    void CloseFds() {
        for (int* fd : {&outFd_, &errFd_}) {
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
        }
    }

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string pending_;
    std::string out_;
    std::string err_;
};

}  // namespace quolix::testing
