#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/CQuolixDoc.h"
#include "base/Status.h"
#include "cli/CliCounterLink.h"
#include "link/PortRegistry.h"

namespace quolix::cli {

struct CliContext;

// quolix-cli record -o FILE.qlx [--port COMn|DEVICE] [--duration SECONDS]
//                   [--comment TEXT]... [--raw FILE.csv]
struct RecordOptions {
    static constexpr int MaxComments = 3;
    // The comment dialog's edits take 80 characters of CP932, a double-byte
    // character counting two; the command line takes what they take.
    static constexpr std::size_t MaxCommentBytes = 80;

    std::string output;
    // Neither index nor device: the port of settings slot 15.
    PortChoice port;
    int32_t durationSeconds = 0;
    CQuolixDoc::Comments comments;  // CP932
    // Every reply goes here too; empty: no such file.
    std::string raw;
};

std::string RecordUsage();
int RecordMain(const std::vector<std::string>& args, CliContext& context);

// What a --port value names, into choice: "COM1" ... "COM6" (any case, with
// or without the colon) the port index; a name without a slash the device
// of that stable name (a /dev/serial/by-id name, or a kernel name such as
// ttyUSB0); anything else a device path. Fails for COM names outside 1 to 6.
Status ChoosePort(std::string_view port, const PortRegistry& registry, PortChoice& choice);
// UTF-8 comment number `number` to CP932; fails with a reason for text CP932
// cannot hold, control characters or more than MaxCommentBytes bytes.
Status ConvertComment(std::string_view utf8, int number, std::string& cp932);

}  // namespace quolix::cli
