#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the Win32 implementation files share: the system speaks UTF-16 and
// reports GetLastError codes; the layers speak UTF-8 and errno.
namespace quolix::win32 {

// nullopt when utf8 is not valid UTF-8.
std::optional<std::wstring> WideFromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);
// The errno closest to a GetLastError code (EIO when none is).
int ErrnoFor(unsigned long error);
// Sets errno from GetLastError; returns false, so that a failing call can end
// with `return FailWithLastError();`.
bool FailWithLastError();

// The event set while a stop request is pending (StopRequests): a wait for
// the next tick also ends on it.
void* StopEvent();

}  // namespace quolix::win32
