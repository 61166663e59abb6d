#include "base/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <type_traits>

namespace quolix {

namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle OpenConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvHandle(cd);
}

enum class Direction { ToCp932, FromCp932 };

// One converter per direction and thread, opened at first use: opening one
// costs far more than converting a short text, and texts are converted at
// every paint. A converter is not shared between threads.
iconv_t Converter(Direction direction) {
    thread_local const IconvHandle toCp932 = OpenConverter("CP932", "UTF-8");
    thread_local const IconvHandle fromCp932 = OpenConverter("UTF-8", "CP932");
    return (direction == Direction::ToCp932 ? toCp932 : fromCp932).get();
}

// Converts all of input, or nothing when any of it cannot be converted.
std::optional<std::string> Convert(Direction direction, std::string_view input) {
    iconv_t converter = Converter(direction);
    if (converter == nullptr) {
        return std::nullopt;
    }
    // The converter is reused: start each text from its initial state, which a
    // conversion that failed halfway may have left.
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string output;
    char buffer[256];
    // iconv's interface is not const-correct; it never writes through inPtr.
    char* inPtr = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft != 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        // Both encodings are stateless, so no final flush is needed.
        const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
        // Read before append, which may allocate and so change errno.
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        output.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (error != 0 && error != E2BIG) {
            return std::nullopt;
        }
    }
    return output;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return Convert(Direction::ToCp932, utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    return Convert(Direction::FromCp932, cp932);
}

}  // namespace quolix
