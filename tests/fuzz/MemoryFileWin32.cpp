#include "fuzz/MemoryFile.h"

#include <atomic>
#include <filesystem>
#include <fstream>

#include "fuzz/FuzzCheck.h"

namespace quolix::fuzz {

// Windows has no file in memory with a path; a file in the temporary folder
// stands in (the replay runs a few hundred inputs, not millions).
MemoryFile::MemoryFile() {
    static std::atomic<int> made{0};
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    Require(!error, "the harness has a temporary folder");
    path_ = (folder / ("quolix-fuzz-" + std::to_string(made++) + ".bin")).string();
    Replace(nullptr, 0);
}

MemoryFile::~MemoryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void MemoryFile::Replace(const uint8_t* data, size_t size) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    Require(static_cast<bool>(out), "the harness can fill its file");
}

}  // namespace quolix::fuzz
