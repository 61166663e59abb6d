#include "link/PortBindings.h"

#include <algorithm>

#include "base/UserFolders.h"
#include "link/PortNames.h"

namespace quolix {

std::string PortBindings::DefaultPath() {
    const std::string config = platform::UserConfigFolder();
    return config.empty() ? std::string() : config + "/quolix/ports";
}

bool PortBindings::ValidName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) {
               return static_cast<unsigned char>(c) <= 0x20 || c == '/' || c == 0x7F;
           });
}

PortBindings PortBindings::Parse(std::string_view text) {
    PortBindings bindings;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        // "COMn=" with n from 1 to 6, then the name.
        if (line.size() < 6 || line.substr(0, 3) != "COM" || line[4] != '=' || line[3] < '1' ||
            line[3] > '0' + PortCount) {
            continue;
        }
        const int index = line[3] - '1';
        const std::string_view name = line.substr(5);
        if (ValidName(name) && bindings.Name(index).empty() && bindings.IndexOf(name) < 0) {
            bindings.names_[static_cast<size_t>(index)] = std::string(name);
        }
    }
    return bindings;
}

std::string PortBindings::Format() const {
    std::string text;
    for (int index = 0; index < PortCount; ++index) {
        if (!Name(index).empty()) {
            text += ComName(index) + "=" + Name(index) + "\n";
        }
    }
    return text;
}

int PortBindings::IndexOf(std::string_view name) const {
    const auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
}

void PortBindings::Bind(int index, std::string name) {
    if (const int previous = IndexOf(name); previous >= 0 && !name.empty()) {
        names_[static_cast<size_t>(previous)].clear();
    }
    names_[static_cast<size_t>(PortSlot(index))] = std::move(name);
}

}  // namespace quolix
