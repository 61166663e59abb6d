#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quolix {

// Canned replies played back one per request, for tests that need exact bytes
// on the wire. A script file holds one reply per line; the line break ends the
// line and is not sent. Escapes give the bytes a line cannot hold:
//   \r  \n  \t  \\  and \xHH (exactly two hex digits).
// An empty line answers its request with nothing.
class ReplyScript {
  public:
    // Turns one line into the bytes to send. false, with a reason, on an
    // unknown or incomplete escape.
    static bool DecodeLine(std::string_view line, std::string& bytes, std::string& error);

    // Loads a file. false, with a reason, when it cannot be read or a line is
    // malformed; the script is then left empty.
    bool Load(const std::string& path, std::string& error);
    // Parses text as a file's content would be.
    bool Parse(std::string_view text, std::string& error);

    // The reply for the next request, or nullptr once the script has ended:
    // after its last line the counter stays silent.
    const std::string* Next();

    size_t Size() const { return replies_.size(); }

  private:
    std::vector<std::string> replies_;
    size_t next_ = 0;
};

}  // namespace quolix
