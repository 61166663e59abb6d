#include "link/PortProblem.h"

#include <cerrno>

#include "base/SystemErrorText.h"
#include "link/PortNames.h"

namespace quolix {

PortProblem ClassifyPortError(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return PortProblem::NotFound;
        case EACCES:
        case EPERM:
            return PortProblem::NoPermission;
        // EBUSY: another opener holds TIOCEXCL or our lock.
        case EBUSY:
        case EWOULDBLOCK:
            return PortProblem::InUse;
        case ENOTTY:
            return PortProblem::NotTerminal;
        default:
            return PortProblem::Other;
    }
}

std::string PortLabel(int portIndex, const std::string& device) {
    if (device.empty()) {
        std::string name = PortName(portIndex);
        name.pop_back();  // the colon of "COM1:"
        return name;
    }
    // A device given by path (quolix-cli record --port) is not that COM port's.
    if (device != PortDevice(portIndex)) {
        return device;
    }
    return PortLabel(portIndex, {}) + ' ' + device;
}

std::string PortProblemLine(int portIndex, const std::string& device, int error) {
    std::string reason;
    switch (ClassifyPortError(error)) {
        case PortProblem::NotFound:
            reason = "デバイスが見つかりません。";
            break;
        case PortProblem::NoPermission:
            reason = "アクセス権がありません (dialout グループに入るとシリアルポートを使えます)。";
            break;
        case PortProblem::InUse:
            reason = "ほかのプログラムが使用中です。";
            break;
        case PortProblem::NotTerminal:
            reason = "シリアルポートではありません。";
            break;
        case PortProblem::Other:
            // A link that does not know why says only that.
            reason = error != 0 ? "開けません (" + SystemErrorText(error) + ")。" : "開けません。";
            break;
    }
    return PortLabel(portIndex, device) + ": " + reason;
}

}  // namespace quolix
