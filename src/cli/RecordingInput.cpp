#include "cli/RecordingInput.h"

#include "acquisition/CQuolixDoc.h"
#include "cli/Reporter.h"
#include "framework/DocumentFile.h"

namespace quolix::cli {

bool LoadRecording(const std::string& path, CQuolixDoc& doc, Reporter& reporter) {
    const Status result = docfile::Open(doc, path);
    if (!result.ok) {
        // The message already begins with the file's name.
        reporter.Say({}, result.message);
        return false;
    }
    return true;
}

}  // namespace quolix::cli
