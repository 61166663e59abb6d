#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quolix {

class CQuolixDoc;

namespace cli {

struct CliContext;

// The resolution a recording's readings are read with: the recording's own
// unit when it records one, otherwise `given` (--resolution), otherwise slot
// 17 of the settings, which may hold a value without a unit. Which one was
// taken is said on standard error, naming path.
int32_t ReadingResolution(const CQuolixDoc& doc, const std::string& path,
                          std::optional<int32_t> given, const CliContext& context);

}  // namespace cli
}  // namespace quolix
