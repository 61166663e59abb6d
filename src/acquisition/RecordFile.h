#pragma once

#include <string_view>

namespace quolix {

class Archive;
class CQuolixDoc;

// The byte layout of a recording: the header string, the sample count, the
// samples as time/reading pairs, then the five comment strings.
namespace recordfile {

inline constexpr std::string_view Header = "Quolix V1.001";
// After a file's name (UTF-8): what a file without the header is not.
inline constexpr std::string_view ForeignFileText = " は Quolix の記録ファイルではありません。";

enum class LoadStatus {
    Ok,
    ForeignFile,  // the data does not begin with our header
    Truncated,    // it ends before all that it announces, or could not be read
    BadCount,     // the sample count is below 0 or above the capacity
};

void Store(const CQuolixDoc& doc, Archive& archive);

// All or nothing: the document's samples and comments are replaced only when
// the whole recording was read; otherwise the document is untouched and the
// archive is marked failed with the matching reason. Bytes after the fifth
// comment are ignored, as nothing in them could be ours.
LoadStatus Load(CQuolixDoc& doc, Archive& archive);

}  // namespace recordfile
}  // namespace quolix
