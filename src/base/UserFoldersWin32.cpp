#include "base/UserFolders.h"

#include <algorithm>
#include <cstdlib>

#include "base/Win32Support.h"

namespace quolix::platform {

std::string UserConfigFolder() {
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    if (appData == nullptr || appData[0] == L'\0') {
        return {};
    }
    // With / as separator, as every path the program makes.
    std::string folder = win32::Utf8FromWide(appData);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder;
}

}  // namespace quolix::platform
