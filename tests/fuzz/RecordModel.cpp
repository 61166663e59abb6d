#include "fuzz/RecordModel.h"

#include <string_view>

namespace quolix::fuzz {

namespace {

constexpr std::string_view HeaderText = "Quolix V1.001";
constexpr int64_t Capacity = 2100;

class Cursor {
  public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Left() const { return bytes_.size() - at_; }

    bool Unsigned(int width, uint64_t& value) {
        if (Left() < static_cast<size_t>(width)) {
            return false;
        }
        value = 0;
        for (int i = 0; i < width; ++i) {
            value |= uint64_t{bytes_[at_++]} << (8 * i);
        }
        return true;
    }

    bool Signed32(int32_t& value) {
        uint64_t raw = 0;
        if (!Unsigned(4, raw)) {
            return false;
        }
        // Two's complement by arithmetic, not by a cast.
        value = static_cast<int32_t>(static_cast<int64_t>(raw) -
                                     (raw >= 0x80000000u ? int64_t{1} << 32 : 0));
        return true;
    }

    // The length is checked against what is left before anything is
    // allocated, so a hostile prefix costs nothing.
    bool Text(std::string& text) {
        uint64_t length = 0;
        if (!Unsigned(1, length)) {
            return false;
        }
        if (length == 0xFF) {
            if (!Unsigned(2, length)) {
                return false;
            }
            // 0xFFFF announces a 32-bit length. 0xFFFE is never written but
            // can only mean 65534, which is how it is read.
            if (length == 0xFFFF && !Unsigned(4, length)) {
                return false;
            }
        }
        if (length > Left()) {
            return false;
        }
        text.assign(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        return true;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

void PutUnsigned(std::vector<uint8_t>& out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

void PutText(std::vector<uint8_t>& out, std::string_view text) {
    const uint64_t length = text.size();
    if (length < 0xFF) {
        PutUnsigned(out, length, 1);
    } else if (length <= 0xFFFD) {
        PutUnsigned(out, 0xFF, 1);
        PutUnsigned(out, length, 2);
    } else {
        PutUnsigned(out, 0xFF, 1);
        PutUnsigned(out, 0xFFFF, 2);
        PutUnsigned(out, length, 4);
    }
    out.insert(out.end(), text.begin(), text.end());
}

void PutSigned32(std::vector<uint8_t>& out, int32_t value) {
    PutUnsigned(out, static_cast<uint64_t>(int64_t{value} & 0xFFFFFFFF), 4);
}

// Whether the bytes are the beginning of our header as a writer writes it,
// all that is left of a file cut short inside it.
bool BeginsOurHeader(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> header;
    PutText(header, HeaderText);
    if (bytes.size() >= header.size()) {
        return false;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != header[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

DecodedRecording DecodeRecording(std::span<const uint8_t> bytes) {
    DecodedRecording decoded;
    Cursor cursor(bytes);
    std::string header;
    if (!cursor.Text(header)) {
        decoded.verdict =
            BeginsOurHeader(bytes) ? RecordVerdict::Truncated : RecordVerdict::Foreign;
        return decoded;
    }
    if (header != HeaderText) {
        decoded.verdict = RecordVerdict::Foreign;
        return decoded;
    }
    int32_t count = 0;
    if (!cursor.Signed32(count)) {
        decoded.verdict = RecordVerdict::Truncated;
        return decoded;
    }
    if (count < 0 || count > Capacity) {
        decoded.verdict = RecordVerdict::BadCount;
        return decoded;
    }
    Recording& recording = decoded.recording;
    for (int32_t i = 0; i < count; ++i) {
        int32_t time = 0;
        int32_t reading = 0;
        if (!cursor.Signed32(time) || !cursor.Signed32(reading)) {
            decoded.verdict = RecordVerdict::Truncated;
            return decoded;
        }
        recording.times.push_back(time);
        recording.readings.push_back(reading);
    }
    for (std::string& comment : recording.comments) {
        if (!cursor.Text(comment)) {
            decoded.verdict = RecordVerdict::Truncated;
            return decoded;
        }
    }
    // Whatever follows the fifth string is not part of the recording.
    decoded.verdict = RecordVerdict::Accepted;
    return decoded;
}

std::vector<uint8_t> EncodeRecording(const Recording& recording) {
    std::vector<uint8_t> out;
    PutText(out, HeaderText);
    PutSigned32(out, static_cast<int32_t>(recording.times.size()));
    for (size_t i = 0; i < recording.times.size(); ++i) {
        PutSigned32(out, recording.times[i]);
        PutSigned32(out, recording.readings[i]);
    }
    for (const std::string& comment : recording.comments) {
        PutText(out, comment);
    }
    return out;
}

}  // namespace quolix::fuzz
