#include "base/ProgramArguments.h"

namespace quolix::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseBinaryOutput() {}

}  // namespace quolix::platform
