#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/UniqueFd.h"

namespace quolix {

// A text file as a sequence of lines through one memory buffer. Reading takes
// the whole file in one read and lets the file go at once; lines are then cut
// from the buffer. Writing collects lines and CR LF in a 64 KiB buffer that goes
// to the file when it is nearly full and on Close.
//
// Results: the line operations return the number of characters of the line
// (0 for an empty one) or -1; Open and Close return 1 or 0. A short-lived object
// on the stack of one operation; nothing throws.
class LineFile {
  public:
    static constexpr int ReadMode = 1;
    static constexpr int WriteMode = 2;
    static constexpr int32_t MaxLineLength = 256;
    static constexpr int32_t WriteCapacity = 65536;
    // The buffer goes to the file once this close to full; a line adds at most
    // MaxLineLength + 2 bytes, so the margin keeps every append inside it.
    static constexpr int32_t FlushMargin = 300;
    // The largest file read. The settings file, the one file read this way,
    // takes a few hundred bytes; anything above this is not one and is refused
    // unread, so a huge file never lands in memory.
    static constexpr int64_t ReadLimit = 65536;

    LineFile() = default;
    // Releases buffer and file without writing out what is buffered.
    ~LineFile() = default;
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // (mode & 2) == 2 creates or empties the file for writing; anything else
    // reads an existing file whole. 0 when already open (nothing changes), for
    // an empty path, when the file cannot be opened, or when it cannot be read
    // whole; the object is closed afterwards in every case but the first.
    // Reading takes only a regular file of at most ReadLimit bytes, and never
    // waits: a FIFO or a device in the file's place is refused at once.
    int Open(const std::string& path, int mode);

    // The next line without its terminator, in pieces of at most 256 bytes.
    // -1 in the wrong mode, at the end of the buffer without a terminator and
    // at a 0x1A byte; text is then left alone. A NUL byte ends the text handed
    // over, while the count still counts every byte of the line.
    int ReadLine(std::string& text);
    // The next line's value as atoi makes it (saturating instead of
    // overflowing). -1 from ReadLine sets value to 0; the wrong mode leaves it.
    int ReadInt(int32_t& value);

    // Appends the first 256 bytes of text and CR LF; -1 in the wrong mode or
    // when writing the full buffer to the file fails (the bytes stay buffered).
    int WriteLine(std::string_view text);
    // value as "%d" through WriteLine.
    int WriteInt(int32_t value);
    // Writes out what is buffered now: 1 when all of it reached the file, -1 on
    // failure or in the wrong mode. Lets a caller learn what Close does not tell.
    int Flush();

    // Writing: one more attempt to write what is buffered, result not examined.
    // Releases buffer and file; 1, or 0 when nothing was open.
    int Close();

    int Mode() const { return mode_; }

  private:
    bool OpenForWriting(const std::string& path);
    bool OpenForReading(const std::string& path);
    bool WriteBuffered();
    void Reset();

    // Reading: index of the next byte not consumed. Writing: bytes buffered
    // and not yet in the file.
    int32_t position_ = 0;
    int32_t capacity_ = 0;
    int mode_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;
    UniqueFd file_;
};

}  // namespace quolix
