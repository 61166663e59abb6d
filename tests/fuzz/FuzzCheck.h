#pragma once

namespace quolix::fuzz {

// Names the input being checked in the message of a broken promise, so that a
// replay of many files says which one failed. Null while fuzzing: libFuzzer
// writes the input out itself.
void SetInputName(const char* name);

// A promise of the parser under test. When it does not hold, one line saying
// which promise broke goes to stderr and the process stops at once, which is
// what libFuzzer and a test run both recognise as a finding.
void Require(bool holds, const char* promise);

}  // namespace quolix::fuzz
