#include "base/MonotonicClock.h"

#include <windows.h>

#include <memory>
#include <type_traits>

#include "base/Win32Support.h"

namespace quolix::platform {

namespace {

constexpr int64_t NsPerSecond = 1'000'000'000;
constexpr int64_t NsPer100Ns = 100;
// mingw-w64's headers lack it before version 11.
constexpr DWORD HighResolutionTimer = 0x00000002;

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

UniqueHandle MakeTimer() {
    HANDLE timer =
        ::CreateWaitableTimerExW(nullptr, nullptr, HighResolutionTimer, TIMER_ALL_ACCESS);
    if (timer == nullptr) {
        // Before Windows 10 1803: a timer of the ordinary (coarser) kind.
        timer = ::CreateWaitableTimerW(nullptr, FALSE, nullptr);
    }
    return UniqueHandle(timer);
}

}  // namespace

int64_t MonotonicNowNs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    const int64_t perSecond = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    // In two parts, so that the product cannot overflow.
    return counter.QuadPart / perSecond * NsPerSecond +
           counter.QuadPart % perSecond * NsPerSecond / perSecond;
}

bool SleepUntil(int64_t deadlineNs) {
    const int64_t remainingNs = deadlineNs - MonotonicNowNs();
    if (remainingNs <= 0) {
        return true;
    }
    // A waitable timer's absolute time follows the wall clock, so the
    // monotonic deadline becomes a relative one (negative, in 100 ns) here.
    thread_local const UniqueHandle timer = MakeTimer();
    LARGE_INTEGER due{};
    due.QuadPart = -((remainingNs + NsPer100Ns - 1) / NsPer100Ns);
    if (!timer || ::SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE) == 0) {
        ::Sleep(static_cast<DWORD>(remainingNs / 1'000'000 + 1));
        return true;
    }
    const HANDLE handles[] = {static_cast<HANDLE>(win32::StopEvent()), timer.get()};
    const DWORD woken = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (woken == WAIT_OBJECT_0) {
        ::CancelWaitableTimer(timer.get());
        return false;
    }
    if (woken != WAIT_OBJECT_0 + 1) {
        ::Sleep(static_cast<DWORD>(remainingNs / 1'000'000 + 1));
    }
    return true;
}

}  // namespace quolix::platform
