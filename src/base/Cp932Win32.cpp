#include "base/Cp932.h"

#include <windows.h>

#include <climits>

#include "base/Win32Support.h"

namespace quolix {

namespace {

constexpr UINT CodePage932 = 932;

// Characters Windows' table refuses (without best fit) and glibc's takes as
// the JIS characters they stand for; both systems write them as glibc does,
// so that text accepted on one is accepted on the other.
struct JisForm {
    wchar_t character;
    std::string_view bytes;
};
constexpr JisForm JisForms[] = {
    {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},
    {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"}, {0x2016, "\x81\x61"},
    {0x203E, "\x7E"},     {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"},
};

// U+0080 and the lone byte 0x80: a control character that Windows maps and
// glibc refuses; refused on both.
constexpr wchar_t Control80 = 0x0080;
constexpr unsigned char Byte80 = 0x80;

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A run of characters without a JIS form of the table: all or nothing, never
// a best-fit or default character in place of one.
bool AppendRun(std::wstring_view run, std::string& output) {
    if (run.empty()) {
        return true;
    }
    if (run.size() > INT_MAX / 2) {
        return false;
    }
    const int inLength = static_cast<int>(run.size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, run.data(),
                                             inLength, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return false;
    }
    const std::size_t at = output.size();
    output.resize(at + static_cast<std::size_t>(length));
    ::WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, run.data(), inLength,
                          output.data() + at, length, nullptr, &usedDefault);
    return !usedDefault;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    const std::optional<std::wstring> wide = win32::WideFromUtf8(utf8);
    if (!wide) {
        return std::nullopt;
    }
    std::string output;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < wide->size(); ++i) {
        const wchar_t c = (*wide)[i];
        if (c == Control80) {
            return std::nullopt;
        }
        for (const JisForm& form : JisForms) {
            if (form.character == c) {
                if (!AppendRun(std::wstring_view(*wide).substr(runStart, i - runStart), output)) {
                    return std::nullopt;
                }
                output += form.bytes;
                runStart = i + 1;
                break;
            }
        }
    }
    if (!AppendRun(std::wstring_view(*wide).substr(runStart), output)) {
        return std::nullopt;
    }
    return output;
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
    if (cp932.empty()) {
        return std::string();
    }
    if (cp932.size() > INT_MAX) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        if (byte == Byte80) {
            return std::nullopt;
        }
        if (IsLeadByte(byte)) {
            ++i;
        }
    }
    const int inLength = static_cast<int>(cp932.size());
    const int length = ::MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, cp932.data(),
                                             inLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, cp932.data(), inLength, wide.data(),
                          length);
    return win32::Utf8FromWide(wide);
}

}  // namespace quolix
