#include "link/SerialLink.h"

#include <string>

#include "link/PortNames.h"

namespace quolix {

SerialLink::~SerialLink() {
    ClosePort();
}

int SerialLink::OpenPort(int portIndex) {
    const std::string device = PortDevice(portIndex);
    const std::string port = ComName(portIndex);
    if (device.empty()) {
        ClosePort();
        failure_ = PortOpenError{PortOpenReason::NotAssigned, 0, port, device};
        return 0;
    }
    const int opened = OpenDevice(device);
    failure_.port = port;
    return opened;
}

int SerialLink::FailOpen(int error) {
    failure_.reason = PortOpenReasonFor(error);
    failure_.error = error;
    return 0;
}

void SerialLink::Lose() {
    // Closed at once, so that a returning adapter can be opened again.
    port_.Reset();
    parser_.Clear();
    lost_ = true;
}

}  // namespace quolix
