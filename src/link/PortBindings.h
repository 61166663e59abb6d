#pragma once

#include <array>
#include <string>
#include <string_view>

#include "link/PortNames.h"

namespace quolix {

// Which device each of COM1 ... COM6 means for this user, as the file keeps
// it: one "COMn=<stable device name>" line per bound number.
class PortBindings {
  public:
    // $XDG_CONFIG_HOME/quolix/ports, else ~/.config/quolix/ports; empty when
    // neither variable says where the user's files are.
    static std::string DefaultPath();

    // Lines that are not a binding, and a second binding of a number or a
    // device, are skipped: whatever can be read of a damaged file is kept.
    static PortBindings Parse(std::string_view text);
    std::string Format() const;

    // The stable name bound to a port index; empty when none.
    const std::string& Name(int index) const {
        return names_[static_cast<size_t>(PortSlot(index))];
    }
    // The index a stable name is bound to, -1 when none.
    int IndexOf(std::string_view name) const;
    // Binds the index to the name, which leaves any number it had before;
    // an empty name unbinds the index.
    void Bind(int index, std::string name);

    // A name that can stand in the file and in a path: no blanks, no
    // controls, no slash, not "." or "..".
    static bool ValidName(std::string_view name);

    bool operator==(const PortBindings&) const = default;

  private:
    std::array<std::string, PortCount> names_;
};

}  // namespace quolix
