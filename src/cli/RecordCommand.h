#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/CQuolixDoc.h"
#include "base/Status.h"

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
    // Empty: the port of settings slot 15.
    std::optional<std::string> device;
    // "COM1" ... "COM6" when --port named one of them.
    std::string portName;
    int32_t durationSeconds = 0;
    CQuolixDoc::Comments comments;  // CP932
    // Every reply goes here too; empty: no such file.
    std::string raw;
};

std::string RecordUsage();
int RecordMain(const std::vector<std::string>& args, CliContext& context);

// The device a --port value names, into device: "COM1" ... "COM6" (any case,
// with or without the colon) name the devices the settings' ports stand for;
// anything else is a device path, and portName is left empty. Fails for COM
// names outside 1 to 6.
Status DeviceFor(std::string_view port, std::string& device, std::string& portName);
// UTF-8 comment number `number` to CP932; fails with a reason for text CP932
// cannot hold, control characters or more than MaxCommentBytes bytes.
Status ConvertComment(std::string_view utf8, int number, std::string& cp932);

}  // namespace quolix::cli
