#pragma once

#include <string>
#include <vector>

namespace quolix::platform {

// The arguments the program was started with, after its name, in UTF-8. On
// Windows they come from the wide command line: the narrow argv holds them in
// the ANSI code page, which loses Japanese text wherever that is not 932.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error pass bytes unchanged (on Windows, no CR before
// every LF), so that both systems print the same bytes.
void UseBinaryOutput();

}  // namespace quolix::platform
