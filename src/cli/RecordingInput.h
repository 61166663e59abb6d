#pragma once

#include <string>

namespace quolix {

class CQuolixDoc;

namespace cli {

class Reporter;

// Reading a recording for the file tools: loads path into doc. On any
// failure (missing, unreadable, foreign, truncated or damaged file) says why,
// naming the file, and returns false.
bool LoadRecording(const std::string& path, CQuolixDoc& doc, Reporter& reporter);

}  // namespace cli
}  // namespace quolix
