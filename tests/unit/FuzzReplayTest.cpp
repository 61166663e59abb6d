// The fuzz corpus and every input the fuzzer ever caught, replayed through the
// same promise checks as the libFuzzer harnesses. A broken promise stops the
// test program with a line naming the promise and the input.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/FuzzCheck.h"
#include "fuzz/RecordFileChecks.h"
#include "fuzz/ReplyChecks.h"
#include "fuzz/SettingsChecks.h"

namespace quolix {
namespace {

namespace fs = std::filesystem;

struct Harness {
    const char* parser;
    int (*check)(const uint8_t*, size_t);
};

void PrintTo(const Harness& harness, std::ostream* out) {
    *out << harness.parser;
}

const Harness Harnesses[] = {
    {"replies", fuzz::CheckReplies},
    {"record-file", fuzz::CheckRecordFile},
    {"settings", fuzz::CheckSettings},
};

std::vector<fs::path> InputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    if (fs::is_directory(folder)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

size_t Replay(const Harness& harness, const fs::path& folder) {
    const std::vector<fs::path> inputs = InputsIn(folder);
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        const std::string name = input.string();
        fuzz::SetInputName(name.c_str());
        harness.check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    fuzz::SetInputName(nullptr);
    return inputs.size();
}

class FuzzReplay : public ::testing::TestWithParam<Harness> {};

TEST_P(FuzzReplay, CorpusAndRegressionsKeepEveryPromise) {
    const fs::path root(QUOLIX_FUZZ_DIR);
    EXPECT_GT(Replay(GetParam(), root / "corpus" / GetParam().parser), 0u)
        << "the corpus of " << GetParam().parser << " is missing";
    // A parser without a finding yet has no regressions folder.
    Replay(GetParam(), root / "regressions" / GetParam().parser);
}

INSTANTIATE_TEST_SUITE_P(Parsers, FuzzReplay, ::testing::ValuesIn(Harnesses),
                         [](const ::testing::TestParamInfo<Harness>& info) {
                             std::string name = info.param.parser;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

}  // namespace
}  // namespace quolix
