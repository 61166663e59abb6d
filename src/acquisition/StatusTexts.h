#pragma once

#include <cstdint>
#include <string>

namespace quolix {

class CQuolixView;

// The status bar's answer to "is it working?", in UTF-8 for the hosts: the
// port and its device, the link's state and, while recording, the recording
// time, the sampling interval and the sample count (empty otherwise).
struct StatusTexts {
    std::string port;
    std::string link;
    std::string elapsed;
    std::string interval;
    std::string count;

    bool operator==(const StatusTexts&) const = default;

    static StatusTexts Of(const CQuolixView& view);
    // "d日 hh:mm:ss"; negative times count as 0.
    static std::string Duration(int32_t seconds);
};

}  // namespace quolix
