#include "cli/RawLog.h"

#include <cerrno>
#include <ctime>

#include "acquisition/RecordingMetadata.h"

namespace quolix::cli {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;

int64_t Now(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return int64_t{now.tv_sec} * NsPerSecond + now.tv_nsec;
}

}  // namespace

RawLog::RawLog(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "a")) {
    if (!file_) {
        error_ = errno;
        return;
    }
    if (std::ftell(file_.get()) == 0) {
        failed_ = std::fprintf(file_.get(), "%s\n", Header) < 0 || !Flush();
    }
}

void RawLog::Begin(int32_t countHz) {
    countHz_ = countHz;
    startNs_ = Now(CLOCK_MONOTONIC);
    lastFlushNs_ = startNs_;
}

bool RawLog::Add(int32_t reading) {
    if (!file_) {
        return false;
    }
    const int64_t monotonic = Now(CLOCK_MONOTONIC);
    const int64_t sinceStart = monotonic - startNs_;
    const int64_t utc = Now(CLOCK_REALTIME);
    const std::string utcText = recordingmeta::UtcText(utc / NsPerSecond);
    // The UTC text with milliseconds: "...T23:10:00.250Z".
    const std::string stamp = utcText.substr(0, utcText.size() - 1);
    const int written = std::fprintf(
        file_.get(), "%lld.%03lld,%s.%03lldZ,%d,", static_cast<long long>(sinceStart / NsPerSecond),
        static_cast<long long>(sinceStart % NsPerSecond / 1'000'000), stamp.c_str(),
        static_cast<long long>(utc % NsPerSecond / 1'000'000), reading);
    failed_ = failed_ || written < 0;
    if (countHz_ != 0) {
        failed_ = failed_ ||
                  std::fprintf(file_.get(), "%lld", static_cast<long long>(reading) * countHz_) < 0;
    }
    failed_ = failed_ || std::fputc('\n', file_.get()) == EOF;
    if (monotonic - lastFlushNs_ >= NsPerSecond) {
        lastFlushNs_ = monotonic;
        return Flush();
    }
    return !failed_;
}

bool RawLog::Flush() {
    if (!file_) {
        return false;
    }
    failed_ = failed_ || std::fflush(file_.get()) != 0;
    return !failed_;
}

}  // namespace quolix::cli
