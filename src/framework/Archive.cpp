#include "framework/Archive.h"

#include <limits>

namespace quolix {

namespace {

constexpr uint8_t ShortLimit = 0xFF;
constexpr uint16_t LongMark = 0xFFFF;
constexpr std::size_t FirstLongLength = 0xFFFE;

}  // namespace

Archive Archive::ForStoring() {
    return Archive(true);
}

Archive Archive::ForLoading(std::span<const uint8_t> data) {
    Archive archive(false);
    archive.source_ = data;
    return archive;
}

void Archive::Fail(ArchiveError error) {
    if (error != ArchiveError::None) {
        error_ = error;
    }
}

bool Archive::CanWrite() {
    if (Failed()) {
        return false;
    }
    if (!storing_) {
        error_ = ArchiveError::WrongMode;
        return false;
    }
    return true;
}

bool Archive::CanRead(std::size_t size) {
    if (Failed()) {
        return false;
    }
    if (storing_) {
        error_ = ArchiveError::WrongMode;
        return false;
    }
    if (size > source_.size() - position_) {
        error_ = ArchiveError::EndOfData;
        return false;
    }
    return true;
}

void Archive::PutLe(uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        written_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint32_t Archive::GetLe(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint32_t>(source_[position_++]) << (8 * i);
    }
    return value;
}

bool Archive::WriteInt32(int32_t value) {
    if (!CanWrite()) {
        return false;
    }
    PutLe(static_cast<uint32_t>(value), 4);
    return true;
}

bool Archive::WriteString(std::string_view text) {
    if (!CanWrite()) {
        return false;
    }
    const std::size_t length = text.size();
    if (length > std::numeric_limits<uint32_t>::max()) {
        error_ = ArchiveError::TooLong;
        return false;
    }
    if (length < ShortLimit) {
        PutLe(static_cast<uint32_t>(length), 1);
    } else if (length < FirstLongLength) {
        PutLe(ShortLimit, 1);
        PutLe(static_cast<uint32_t>(length), 2);
    } else {
        PutLe(ShortLimit, 1);
        PutLe(LongMark, 2);
        PutLe(static_cast<uint32_t>(length), 4);
    }
    written_.insert(written_.end(), text.begin(), text.end());
    return true;
}

bool Archive::ReadInt32(int32_t& value) {
    if (!CanRead(4)) {
        return false;
    }
    value = static_cast<int32_t>(GetLe(4));
    return true;
}

bool Archive::ReadString(std::string& text) {
    // The prefix is consumed only as far as it goes; a failed read leaves the
    // archive failed anyway, so there is nothing to roll back.
    if (!CanRead(1)) {
        return false;
    }
    std::size_t length = GetLe(1);
    if (length == ShortLimit) {
        if (!CanRead(2)) {
            return false;
        }
        length = GetLe(2);
        if (length == LongMark) {
            if (!CanRead(4)) {
                return false;
            }
            length = GetLe(4);
        }
    }
    if (!CanRead(length)) {
        return false;
    }
    const auto* first = reinterpret_cast<const char*>(source_.data() + position_);
    text.assign(first, length);
    position_ += length;
    return true;
}

}  // namespace quolix
