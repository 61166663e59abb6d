#pragma once

namespace quolix {

// Sole owner of a POSIX file descriptor: closed exactly once, when replaced or
// when the owner goes away.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }

    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

    // Closes the descriptor held (if any) and takes fd instead.
    void Reset(int fd = -1);
    // Closes now, so that the caller learns of a failing close (on some file
    // systems the first sign of a write error); true when it succeeded.
    bool Close();
    // Gives up ownership without closing.
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

}  // namespace quolix
