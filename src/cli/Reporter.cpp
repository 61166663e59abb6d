#include "cli/Reporter.h"

#include "base/Cp932.h"
#include "cli/TerminalText.h"

namespace quolix::cli {

void Reporter::Say(std::string_view subject, std::string_view text) {
    std::string line = program_;
    line += ": ";
    if (!subject.empty()) {
        line += TerminalSafe(subject);  // a file name may hold control bytes
        line += ": ";
    }
    line += text;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
}

void Reporter::SayCp932(std::string_view subject, std::string_view cp932Text) {
    Say(subject, Cp932ToUtf8Lossy(cp932Text));
}

}  // namespace quolix::cli
