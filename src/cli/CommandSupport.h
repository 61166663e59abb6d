#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "cli/ArgumentParser.h"

namespace quolix {

class SettingsRecord;

namespace cli {

struct CliContext;
class Reporter;

// What the subcommands share: the options every one of them accepts, and the
// way a wrong command line is reported.

enum class ParseStatus { Run, Help, Invalid };
// What a subcommand takes besides its options.
enum class Operands { None, OneRecording };

// specs plus "--help"/"-h" and the global "--settings FILE", which may also
// follow the subcommand.
std::vector<OptionSpec> WithCommonOptions(std::vector<OptionSpec> specs);

// Parses args; on Run a "--settings" among them has been applied to the
// context. Invalid leaves a one-line reason in error.
ParseStatus ParseCommonOptions(ArgumentParser& parser, const std::vector<std::string>& args,
                               CliContext& context, std::string& error);

// ParseCommonOptions and a check of the operands, then the usual ending of a
// subcommand that is not to run: its usage printed for --help (ExitOk), or
// the mistake reported (ExitUsage). Nothing when the subcommand should go on.
std::optional<int> ParseOrExit(ArgumentParser& parser, const std::vector<std::string>& args,
                               CliContext& context, std::string_view command,
                               std::string_view usage, Operands operands);

// A text given on the command line (UTF-8) as the system's CP932 text of at
// most maxBytes bytes, into cp932. Control characters, characters CP932
// cannot hold and texts that are too long are refused, with a reason naming
// `name`, and cp932 is left alone.
Status ToCp932Text(std::string_view utf8, const std::string& name, size_t maxBytes,
                   std::string& cp932);

// Says what was wrong and where the help is; returns ExitUsage.
int UsageError(Reporter& reporter, std::string_view command, const std::string& error);

// Writes text to the context's output; false when it could not be written.
bool Print(CliContext& context, std::string_view text);

// The settings of the context's settings file, or the defaults; true when the
// file was read.
bool LoadSettings(const CliContext& context, SettingsRecord& settings);

// True when both paths name one existing file, so that writing one would
// destroy the other.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace cli
}  // namespace quolix
