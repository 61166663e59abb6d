#pragma once

#include <string>
#include <string_view>

namespace quolix::cli {

// Text from a file or a file name, made safe to print on a terminal: control
// characters (C0, DEL and the C1 range U+0080 to U+009F) become visible
// escapes, "\r", "\n", "\t", "\x1b", "\u009b", so that a comment can neither
// move the cursor, clear the screen nor retitle the window. Everything else,
// undecodable bytes included, passes unchanged. Not reversible: a literal
// "\x1b" in the text looks the same; the JSON output is the exact form.
std::string TerminalSafe(std::string_view utf8);

}  // namespace quolix::cli
