#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace quolix::testing {

// A fresh directory under the system's temporary folder, removed with all it
// holds when the test ends.
class SettingsTempDir {
  public:
    SettingsTempDir() {
        std::random_device seed;
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        // Bounded: a name taken already is tried again with another number.
        for (int attempt = 0; !error && attempt < 100; ++attempt) {
            const std::filesystem::path candidate = folder / ("quolix-" + std::to_string(seed()));
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate.generic_string();
                return;
            }
        }
    }
    ~SettingsTempDir() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    SettingsTempDir(const SettingsTempDir&) = delete;
    SettingsTempDir& operator=(const SettingsTempDir&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

#ifndef _WIN32
// Limits the size of any file this process writes, as a nearly full disk
// would: a write reaching the limit is cut short and the next one fails with
// EFBIG. SIGXFSZ is ignored meanwhile so the process survives. Both are
// restored at the end of the scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void Lift() {
        if (!lifted_) {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, previousHandler_);
            lifted_ = true;
        }
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool lifted_ = false;
};

// The number of a process that has ended (a child, exited and reaped), for
// names that belong to nobody running; -1 when no child could be made.
inline pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child ? child : -1;
}
#endif

}  // namespace quolix::testing
