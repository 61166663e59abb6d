#include "framework/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <utility>

namespace quolix {
namespace {

// Owns one iconv conversion descriptor.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    ~IconvHandle() {
        if (Valid()) {
            iconv_close(cd_);
        }
    }

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

  private:
    iconv_t cd_;
};

bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    out.clear();
    if (in.empty()) {
        return true;
    }
    IconvHandle cd(to, from);
    if (!cd.Valid()) {
        return false;
    }
    // iconv does not modify the input, but its signature predates const.
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    std::string result(in.size() * 2 + 8, '\0');
    size_t used = 0;
    // One call converts what fits; a null input then flushes any shift state.
    const auto step = [&](bool flush) {
        char* outPtr = result.data() + used;
        size_t outLeft = result.size() - used;
        const size_t rc = flush ? iconv(cd.Get(), nullptr, nullptr, &outPtr, &outLeft)
                                : iconv(cd.Get(), &inPtr, &inLeft, &outPtr, &outLeft);
        used = static_cast<size_t>(outPtr - result.data());
        return rc != static_cast<size_t>(-1);
    };
    for (bool flush = false;;) {
        if (step(flush)) {
            if (flush) {
                break;
            }
            flush = inLeft == 0;
            continue;
        }
        if (errno != E2BIG) {
            // EILSEQ: invalid or unrepresentable; EINVAL: a truncated character.
            return false;
        }
        result.resize(result.size() * 2);
    }
    result.resize(used);
    out = std::move(result);
    return true;
}

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
    return Convert("CP932", "UTF-8", utf8, out);
}

bool Cp932ToUtf8(std::string_view cp932, std::string& out) {
    return Convert("UTF-8", "CP932", cp932, out);
}

bool IsCp932Representable(std::string_view utf8) {
    std::string ignored;
    return Utf8ToCp932(utf8, ignored);
}

}  // namespace quolix
