// libFuzzer's entry point for the settings file.
#include <cstddef>
#include <cstdint>

#include "fuzz/SettingsChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return quolix::fuzz::CheckSettings(data, size);
}
