#include "fuzz/LineModel.h"

#include <cstring>

namespace quolix::fuzz {

namespace {

constexpr int PieceLength = 256;

}  // namespace

std::vector<LinePiece> CutLines(std::span<const uint8_t> bytes) {
    std::vector<LinePiece> pieces;
    const size_t size = bytes.size();
    size_t at = 0;
    for (;;) {
        const size_t start = at;
        int length = 0;
        bool ended = false;
        while (length < PieceLength && !ended) {
            if (at >= size || bytes[at] == 0x1A) {
                return pieces;
            }
            const uint8_t c = bytes[at];
            const bool hasNext = at + 1 < size;
            const auto next = hasNext ? static_cast<int8_t>(bytes[at + 1]) : int8_t{0};
            if (c == '\r' && hasNext && next == '\n') {
                at += 2;
                ended = true;
            } else if ((c == '\r' || c == '\n') && hasNext && (next == '\t' || next > 0x20)) {
                at += 1;
                ended = true;
            } else if (c == '\f') {
                at += 1;
                ended = true;
            } else {
                at += 1;
                length += 1;
            }
        }
        LinePiece piece;
        piece.length = length;
        const auto* first = reinterpret_cast<const char*>(bytes.data() + start);
        piece.text.assign(first, ::strnlen(first, static_cast<size_t>(length)));
        pieces.push_back(std::move(piece));
    }
}

}  // namespace quolix::fuzz
