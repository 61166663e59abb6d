#include "base/ExecutablePath.h"

#include <windows.h>

#include <algorithm>

#include "base/Win32Support.h"

namespace quolix {

std::string ExecutablePath() {
    // GetModuleFileNameW cuts a name that does not fit and says so only by
    // filling the buffer; such a result is retried with a larger one.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    // Windows takes '/' as well as '\'; with one separator the folder of the
    // program is found the same way on both systems.
    std::string utf8 = win32::Utf8FromWide(path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8;
}

}  // namespace quolix
