#pragma once

#include <string>

namespace quolix {

class CQuolixDoc;
class Reporter;

// Reading a recording for the file tools.
class RecordingInput {
  public:
    // Loads path into doc. On any failure (missing, unreadable, foreign,
    // truncated or damaged file) says why, naming the file, and returns false.
    static bool Load(const std::string& path, CQuolixDoc& doc, Reporter& reporter);
};

}  // namespace quolix
