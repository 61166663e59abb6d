#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quolix::cli {

// Writes the tool's messages, one per line, in UTF-8, each led by the program
// name and, where there is one, the file or device it concerns:
//   quolix-cli: /tmp/a.qlx: ...
class Reporter {
  public:
    Reporter(std::FILE* stream, std::string program)
        : stream_(stream), program_(std::move(program)) {}

    // subject may be empty; text is UTF-8 and may span several lines.
    void Say(std::string_view subject, std::string_view text);
    // For CP932 messages from the system's own code (its message boxes);
    // undecodable bytes show as U+FFFD.
    void SayCp932(std::string_view subject, std::string_view cp932Text);

  private:
    std::FILE* stream_;
    std::string program_;
};

}  // namespace quolix::cli
