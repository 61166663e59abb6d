#include "base/ProgramArguments.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "base/Win32Support.h"

namespace quolix::platform {

namespace {

struct LocalFreer {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    if (!wide) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(win32::Utf8FromWide(wide.get()[i]));
    }
    return arguments;
}

void UseBinaryOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace quolix::platform
