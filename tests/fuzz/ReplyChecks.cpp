#include "fuzz/ReplyChecks.h"

#include <algorithm>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/ReplyModel.h"
#include "link/ReplyParser.h"

namespace quolix::fuzz {

namespace {

// No reply can give this reading, so finding it afterwards proves that a call
// left the reading alone.
constexpr int32_t Untouched = -2147483647;
constexpr int32_t LowestReading = -9999999;
constexpr int32_t HighestReading = 99999999;
constexpr size_t DrainSize = 1024;

struct Expected {
    // Per byte: whether it completed a reply, and then with which reading.
    std::vector<bool> completes;
    std::vector<int32_t> readings;
    std::vector<size_t> pending;
};

Expected RunModel(const uint8_t* data, size_t size) {
    Expected expected;
    expected.completes.resize(size);
    expected.readings.resize(size, Untouched);
    expected.pending.resize(size);
    ReplyModel model;
    for (size_t i = 0; i < size; ++i) {
        expected.completes[i] = model.Take(data[i]);
        if (expected.completes[i]) {
            expected.readings[i] = model.Value();
        }
        expected.pending[i] = model.Pending();
    }
    return expected;
}

// What one call over bytes [begin, end) must report: 1 and the last reading
// completed among them, or 0 and the reading untouched.
void RequireCall(const Expected& expected, size_t begin, size_t end, int result, int32_t reading) {
    int32_t last = Untouched;
    for (size_t i = begin; i < end; ++i) {
        if (expected.completes[i]) {
            last = expected.readings[i];
        }
    }
    Require(result == (last != Untouched ? 1 : 0),
            "a call reports 1 exactly when a reply completed among its bytes");
    Require(reading == last, "a call hands over the last reading it completed, or leaves it");
}

// A small generator for the chunk sizes, seeded from the bytes so that the
// same input is always cut the same way.
class ChunkSizes {
  public:
    ChunkSizes(const uint8_t* data, size_t size) {
        state_ = 0xcbf29ce484222325u;
        for (size_t i = 0; i < size; ++i) {
            state_ = (state_ ^ data[i]) * 0x100000001b3u;
        }
    }
    size_t Next() {
        state_ += 0x9e3779b97f4a7c15u;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        z ^= z >> 31;
        // Mostly short chunks, where reply boundaries fall inside them; now
        // and then empty ones and whole drains.
        switch (z % 8) {
            case 0:
                return 0;
            case 1:
                return DrainSize;
            default:
                return static_cast<size_t>((z >> 8) % 24) + 1;
        }
    }

  private:
    uint64_t state_;
};

void CheckByteByByte(const uint8_t* data, size_t size, const Expected& expected) {
    ReplyParser parser;
    for (size_t i = 0; i < size; ++i) {
        int32_t reading = Untouched;
        const int result = parser.Feed(data + i, 1, reading);
        RequireCall(expected, i, i + 1, result, reading);
        if (result == 1) {
            Require(reading >= LowestReading && reading <= HighestReading,
                    "a reading lies between -9,999,999 and 99,999,999");
        }
        Require(parser.ReplyLength() >= 0 &&
                    static_cast<size_t>(parser.ReplyLength()) == expected.pending[i],
                "the characters pending are those of the reply rule (never more than 1001)");
    }
}

void CheckWhole(const uint8_t* data, size_t size, const Expected& expected) {
    ReplyParser parser;
    int32_t reading = Untouched;
    const int result = parser.Feed(data, size, reading);
    RequireCall(expected, 0, size, result, reading);
    const size_t pending = size == 0 ? 0 : expected.pending[size - 1];
    Require(static_cast<size_t>(parser.ReplyLength()) == pending,
            "one call leaves the same characters pending as byte-by-byte calls");
}

void CheckChunks(const uint8_t* data, size_t size, const Expected& expected) {
    ReplyParser parser;
    ChunkSizes sizes(data, size);
    for (size_t begin = 0; begin < size;) {
        size_t length = sizes.Next();
        if (length == 0) {
            // An empty drain between two others must change nothing.
            int32_t reading = Untouched;
            const int result = parser.Feed(data + begin, 0, reading);
            RequireCall(expected, begin, begin, result, reading);
            length = 1;
        }
        const size_t end = std::min(size, begin + length);
        int32_t reading = Untouched;
        const int result = parser.Feed(data + begin, end - begin, reading);
        RequireCall(expected, begin, end, result, reading);
        begin = end;
    }
}

}  // namespace

int CheckReplies(const uint8_t* data, size_t size) {
    const Expected expected = RunModel(data, size);
    CheckByteByByte(data, size, expected);
    CheckWhole(data, size, expected);
    CheckChunks(data, size, expected);
    return 0;
}

}  // namespace quolix::fuzz
