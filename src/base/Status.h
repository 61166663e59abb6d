#pragma once

#include <string>
#include <utility>

namespace quolix {

// The outcome of an operation whose result is ours to choose: file commands,
// the command-line tool, the render helper. (The system's own operations
// keep the counts and 1/0 results they have always had.) A failure carries a
// message for the user in UTF-8 and, where a system call failed, its errno;
// the message becomes CP932 only where a message box of the system shows it.
struct Status {
    bool ok = true;
    int error = 0;        // errno of the failed call; 0 when none failed
    std::string message;  // UTF-8; empty on success

    static Status Failure(std::string message, int error = 0) {
        return Status{false, error, std::move(message)};
    }
};

}  // namespace quolix
