#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace quolix::cli {

// Every reply the counter gave while recording, one CSV line each, for
// analysis at shorter times than the record file keeps: seconds since the
// recording started (monotonic clock), the UTC time, the reading and its
// frequency. Appends to the file; the lines reach it once a second.
class RawLog {
  public:
    static constexpr const char* Header = "monotonic_s,utc,reading,frequency_hz";

    // Opens path for appending; a new or empty file gets the header first.
    explicit RawLog(const std::string& path);

    bool Ok() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    // errno of the failed open.
    int Error() const { return error_; }

    // The recording starts now; countHz is the frequency of one count, 0 when
    // unknown.
    void Begin(int32_t countHz);
    // One reply; false once a write or flush has failed.
    bool Add(int32_t reading);
    // Writes out what is buffered; false when it could not.
    bool Flush();

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string path_;
    std::unique_ptr<std::FILE, Closer> file_;
    int error_ = 0;
    int32_t countHz_ = 0;
    int64_t startNs_ = 0;
    int64_t lastFlushNs_ = 0;
    bool failed_ = false;
};

}  // namespace quolix::cli
