#include "settings/LineFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/FileSystem.h"
#include "base/IntegerText.h"

namespace quolix {

namespace {

constexpr uint8_t Tab = 0x09;
constexpr uint8_t Lf = 0x0A;
constexpr uint8_t Ff = 0x0C;
constexpr uint8_t Cr = 0x0D;
constexpr uint8_t CtrlZ = 0x1A;

// A lone CR or LF ends a line only when the byte after it can begin one: TAB
// or a byte above 0x20 taken as signed, so a double-byte lead byte (0x80 up)
// never qualifies.
bool BeginsLine(uint8_t next) {
    return next == Tab || (next > 0x20 && next < 0x80);
}

// Reads exactly size bytes with one read (repeated only when a signal
// interrupted it before any byte came). A short read means the file changed
// under us; it counts as a failure rather than leaving bytes unread.
bool ReadWhole(int fd, uint8_t* data, size_t size) {
    ssize_t got = 0;
    do {
        got = ::read(fd, data, size);
    } while (got < 0 && errno == EINTR);
    return got >= 0 && static_cast<size_t>(got) == size;
}

}  // namespace

int LineFile::Open(const std::string& path, int mode) {
    if (mode_ != 0) {
        return 0;
    }
    if (path.empty()) {
        return 0;
    }
    const bool opened =
        (mode & WriteMode) == WriteMode ? OpenForWriting(path) : OpenForReading(path);
    if (!opened) {
        Reset();
        return 0;
    }
    return 1;
}

bool LineFile::OpenForWriting(const std::string& path) {
    // O_TRUNC empties an existing file now, before any line is written.
    UniqueFd fd(platform::OpenForWriting(path));
    if (!fd.Valid()) {
        return false;
    }
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(WriteCapacity);
    capacity_ = WriteCapacity;
    position_ = 0;
    mode_ = WriteMode;
    file_ = std::move(fd);
    return true;
}

bool LineFile::OpenForReading(const std::string& path) {
    // The descriptor lives only in this function: the file is released as soon
    // as its bytes are in the buffer.
    // Opening a FIFO for reading would otherwise wait for a writer.
    const UniqueFd fd(platform::OpenForReading(path));
    if (!fd.Valid()) {
        return false;
    }
    platform::FileInfo info;
    if (!platform::Inspect(fd.Get(), info) || info.kind != platform::FileKind::Regular ||
        info.size > static_cast<uint64_t>(ReadLimit)) {
        return false;
    }
    const auto size = static_cast<int32_t>(info.size);
    // Exactly the file's size; a one-byte allocation stands in for an empty
    // file so that the buffer is never null while reading.
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(std::max<size_t>(size, 1));
    if (!ReadWhole(fd.Get(), buffer_.get(), static_cast<size_t>(size))) {
        return false;
    }
    capacity_ = size;
    position_ = 0;
    mode_ = ReadMode;
    return true;
}

int LineFile::ReadLine(std::string& text) {
    if (mode_ != ReadMode) {
        return -1;
    }
    const int32_t start = position_;
    int32_t n = 0;
    while (n < MaxLineLength) {
        if (position_ >= capacity_) {
            // What was passed over stays consumed: every later call ends here too.
            return -1;
        }
        const uint8_t c = buffer_[position_];
        const bool hasNext = position_ + 1 < capacity_;
        const uint8_t next = hasNext ? buffer_[position_ + 1] : 0;
        if (c == CtrlZ) {
            // position stays on the 0x1A, so reading ends here for good.
            return -1;
        }
        if (c == Cr && hasNext && next == Lf) {
            position_ += 2;
            break;
        }
        if ((c == Cr || c == Lf) && hasNext && BeginsLine(next)) {
            position_ += 1;
            break;
        }
        if (c == Ff) {
            position_ += 1;
            break;
        }
        position_ += 1;
        n += 1;
    }
    const auto* begin = reinterpret_cast<const char*>(buffer_.get() + start);
    text.assign(begin, ::strnlen(begin, static_cast<size_t>(n)));
    return n;
}

int LineFile::ReadInt(int32_t& value) {
    if (mode_ != ReadMode) {
        return -1;
    }
    std::string line;
    const int result = ReadLine(line);
    if (result < 0) {
        value = 0;
        return -1;
    }
    value = ParseIntPrefix(line);
    return result;
}

int LineFile::WriteLine(std::string_view text) {
    if (mode_ != WriteMode) {
        return -1;
    }
    // Only a failed write leaves the buffer at or beyond the margin. Before
    // taking another line, try that write again; if it fails once more the line
    // is refused (-1, nothing appended). So every append starts below
    // capacity - margin and can never reach past the buffer, however often a
    // caller goes on after a failure.
    if (position_ >= capacity_ - FlushMargin && !WriteBuffered()) {
        return -1;
    }
    const auto n = static_cast<int32_t>(std::min<size_t>(text.size(), MaxLineLength));
    std::memcpy(buffer_.get() + position_, text.data(), static_cast<size_t>(n));
    position_ += n;
    buffer_[position_++] = Cr;
    buffer_[position_++] = Lf;
    if (position_ >= capacity_ - FlushMargin && !WriteBuffered()) {
        return -1;
    }
    return n;
}

int LineFile::WriteInt(int32_t value) {
    if (mode_ != WriteMode) {
        return -1;
    }
    char digits[16];
    const int length = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    return WriteLine(std::string_view(digits, static_cast<size_t>(length)));
}

int LineFile::Flush() {
    if (mode_ != WriteMode) {
        return -1;
    }
    return WriteBuffered() ? 1 : -1;
}

// Bytes that reached the file leave the buffer even when the write stops part
// way, so a later attempt (the next line, Close) neither repeats nor loses any.
bool LineFile::WriteBuffered() {
    const size_t pending = static_cast<size_t>(position_);
    const size_t written = platform::WriteAll(file_.Get(), buffer_.get(), pending);
    if (written > 0 && written < pending) {
        std::memmove(buffer_.get(), buffer_.get() + written, pending - written);
    }
    position_ = static_cast<int32_t>(pending - written);
    return written == pending;
}

int LineFile::Close() {
    if (mode_ == 0) {
        return 0;
    }
    if (mode_ == WriteMode) {
        (void)WriteBuffered();
    }
    Reset();
    return 1;
}

void LineFile::Reset() {
    file_.Reset();
    buffer_.reset();
    position_ = 0;
    capacity_ = 0;
    mode_ = 0;
}

}  // namespace quolix
