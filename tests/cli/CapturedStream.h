#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace quolix::testing {

// A FILE* whose contents a test can read back, for checking messages and
// results written through one.
class CapturedStream {
  public:
    CapturedStream() : stream_(open_memstream(&buffer_, &size_)) {}
    ~CapturedStream() {
        std::fclose(stream_);
        std::free(buffer_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::FILE* Stream() { return stream_; }
    std::string Text() {
        std::fflush(stream_);
        return std::string(buffer_, size_);
    }

  private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};

}  // namespace quolix::testing
