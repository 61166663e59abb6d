#pragma once

namespace quolix::cli {

// Exit statuses of quolix-cli and its render helper. Scripts tell a bad file
// from a missing counter from a mistyped command line by them.
enum ExitStatus : int {
    ExitOk = 0,
    // A recording or output file could not be read, was not a recording, or
    // could not be written; also a helper program that could not be started.
    ExitFileError = 1,
    // The counter's port could not be opened, or no sample was recorded.
    ExitPortError = 2,
    // The command line itself was wrong (sysexits' EX_USAGE).
    ExitUsage = 64,
};

}  // namespace quolix::cli
