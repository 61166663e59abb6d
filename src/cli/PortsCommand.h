#pragma once

#include <string>
#include <vector>

namespace quolix {

class ComPortMap;

namespace cli {

struct CliContext;

// quolix-cli ports [--json]: COM1 ... COM6 with the device each one means
// for this user and whether it is present, then the present devices no
// number means.

std::string PortsUsage();
int PortsMain(const std::vector<std::string>& args, CliContext& context);

std::string FormatPortsText(const ComPortMap& map);
std::string FormatPortsJson(const ComPortMap& map);

}  // namespace cli
}  // namespace quolix
