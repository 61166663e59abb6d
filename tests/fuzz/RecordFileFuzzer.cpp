// libFuzzer's entry point for record files.
#include <cstddef>
#include <cstdint>

#include "fuzz/RecordFileChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quolix::fuzz::CheckRecordFile(data, size);
}
