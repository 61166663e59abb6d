#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ReplacementFile.h"
#include "base/Status.h"

namespace quolix {

class CDocument;

// The file commands of the one document: New, Open, Save and Save As. Paths
// are file-system names (UTF-8 bytes on Linux), passed to the system as they
// are. A failure's message names the file and says what went wrong.
namespace docfile {

// No recording is larger than a few tens of kilobytes; anything this big
// is refused before it is read.
inline constexpr std::size_t MaxFileSize = 64u * 1024u * 1024u;

// Runs the document's new-document step; the emptied document is clean.
// Asking whether to save first is the caller's part.
Status New(CDocument& doc);

// Reads the whole file and lets the document load it. Only a complete,
// successful load names the document after the file and makes it clean; on
// any failure the document keeps its contents, its name and its flag.
Status Open(CDocument& doc, const std::string& path);
// Open in two steps, for a caller that looks at the bytes first: Read makes
// Open's checks and reads the whole file; Load lets the document load bytes
// and, on success, names it after path (which failures name too).
Status Read(const std::string& path, std::vector<uint8_t>& bytes);
Status Load(CDocument& doc, const std::string& path, std::span<const uint8_t> bytes);

// Writes to the document's own path name.
Status Save(CDocument& doc);

// Serialises into memory, writes a temporary file beside the target,
// flushes it to the disk as far as flush asks and renames it over the
// target only when all of it was written: a failed or interrupted save
// never damages the file that was there, and leaves no temporary file
// behind. On success the document takes the new name and is clean.
Status SaveAs(CDocument& doc, const std::string& path,
              ReplacementFile::Flush flush = ReplacementFile::Flush::DataAndFolder);

// What Save writes for the document; nothing when it could not serialise.
std::optional<std::vector<uint8_t>> Contents(CDocument& doc);

// Writes the document to path as SaveAs does, but as a copy: its name and
// its modified flag stay as they are.
Status SaveCopy(CDocument& doc, const std::string& path, ReplacementFile::Flush flush);

}  // namespace docfile
}  // namespace quolix
