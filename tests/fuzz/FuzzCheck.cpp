#include "fuzz/FuzzCheck.h"

#include <cstdio>

namespace quolix::fuzz {

namespace {

const char* inputName = nullptr;

}  // namespace

void SetInputName(const char* name) {
    inputName = name;
}

void Require(bool holds, const char* promise) {
    if (holds) {
        return;
    }
    if (inputName != nullptr) {
        std::fprintf(stderr, "quolix fuzz: broken promise: %s (input %s)\n", promise, inputName);
    } else {
        std::fprintf(stderr, "quolix fuzz: broken promise: %s\n", promise);
    }
    std::fflush(stderr);
    __builtin_trap();
}

}  // namespace quolix::fuzz
