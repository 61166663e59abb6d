#include "link/PortOpenError.h"

#include <cerrno>

#include "base/SystemErrorText.h"

namespace quolix {

PortOpenReason PortOpenReasonFor(int error) {
    switch (error) {
        case ENOTTY:
            return PortOpenReason::NotATerminal;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return PortOpenReason::NotPresent;
        case EACCES:
        case EPERM:
            return PortOpenReason::NoPermission;
        // TIOCEXCL held by another opener, or its flock.
        case EBUSY:
        case EWOULDBLOCK:
            return PortOpenReason::InUse;
        default:
            return PortOpenReason::Other;
    }
}

std::string PortLabel(const PortOpenError& attempt) {
    if (attempt.port.empty() || attempt.device.empty()) {
        return attempt.port + attempt.device;
    }
    return attempt.port + ' ' + attempt.device;
}

std::string PortOpenErrorText(const PortOpenError& failure) {
    const std::string subject = PortLabel(failure);
    std::string why;
    switch (failure.reason) {
        case PortOpenReason::None:
            return subject;
        case PortOpenReason::NotAssigned:
            why = "デバイスが割り当てられていません。";
            break;
        case PortOpenReason::NotPresent:
            why = "デバイスが接続されていません。";
            break;
        case PortOpenReason::NoPermission:
            why =
                "ポートを使う権限がありません。dialout グループに入ってください "
                "(sudo usermod -aG dialout $USER の後、ログインし直します)。";
            break;
        case PortOpenReason::InUse:
            why = "他のプログラムが使用中です。";
            break;
        case PortOpenReason::NotATerminal:
            why = "シリアルポートではありません。";
            break;
        case PortOpenReason::Other:
            // A link that does not know why says only that.
            why = failure.error != 0 ? "開けません。(" + SystemErrorText(failure.error) + ")"
                                     : "開けません。";
            break;
    }
    return subject.empty() ? why : subject + ": " + why;
}

}  // namespace quolix
