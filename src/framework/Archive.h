#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quolix {

// Why an archive stopped. The first read or write that goes wrong sets it and
// every later operation fails too, so a caller may check once at the end.
enum class ArchiveError {
    None,
    EndOfData,      // a read wanted more bytes than are left
    WrongMode,      // a read on a storing archive or a write on a loading one
    TooLong,        // a string longer than a 32-bit length can announce
    ForeignFormat,  // set by a document: the data is not of its kind
    BadValue,       // set by a document: a value it read is out of range
};

// The document's serialisation stream over bytes in memory, in storing or
// loading mode. Integers are 32-bit little-endian two's complement; strings
// are length-prefixed CP932 bytes without a terminator:
//   length < 255            one byte n
//   255 .. 65533            0xFF, n as 16-bit
//   65534 and above         0xFF, 0xFFFF, n as 32-bit
// A reader also accepts the 16-bit value 0xFFFE, which no writer produces, as
// a length of 65534: it cannot mean anything else. Nothing ever throws; a
// length prefix larger than what is left fails before anything is allocated.
class Archive {
  public:
    // A storing archive that appends to its own buffer.
    static Archive ForStoring();
    // A loading archive over data that must outlive it.
    static Archive ForLoading(std::span<const uint8_t> data);
    static Archive ForLoading(std::vector<uint8_t>&& data) = delete;

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    bool WriteInt32(int32_t value);
    bool WriteString(std::string_view text);

    // On failure the output is left as it was.
    [[nodiscard]] bool ReadInt32(int32_t& value);
    [[nodiscard]] bool ReadString(std::string& text);

    bool Failed() const { return error_ != ArchiveError::None; }
    ArchiveError Error() const { return error_; }
    // Lets the reader of the data report why it gave up. Its verdict replaces
    // a read error that led to it, since it knows more about the data.
    void Fail(ArchiveError error);

    // Storing: the bytes written so far.
    const std::vector<uint8_t>& Bytes() const { return written_; }
    std::vector<uint8_t> TakeBytes() { return std::move(written_); }
    // Loading: the bytes not read yet.
    std::span<const uint8_t> RemainingBytes() const { return source_.subspan(position_); }

  private:
    explicit Archive(bool storing) : storing_(storing) {}

    bool CanWrite();
    bool CanRead(std::size_t size);
    void PutLe(uint32_t value, int bytes);
    uint32_t GetLe(int bytes);

    bool storing_;
    ArchiveError error_ = ArchiveError::None;
    std::vector<uint8_t> written_;
    std::span<const uint8_t> source_;
    std::size_t position_ = 0;
};

}  // namespace quolix
