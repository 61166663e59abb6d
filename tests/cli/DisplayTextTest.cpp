#include <gtest/gtest.h>

#include <string>

#include "cli/DisplayText.h"

namespace quolix {
namespace {

struct DisplayCase {
    const char* name;
    std::string cp932;
    std::string utf8;
};

class DisplayTextCases : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayTextCases, KeepsWhatDecodesAndMarksWhatDoesNot) {
    EXPECT_EQ(DisplayText(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DisplayTextCases,
    ::testing::Values(DisplayCase{"Empty", "", ""},
                      DisplayCase{"Ascii", "Time=10sec", "Time=10sec"},
                      // "周波数" and half-width katakana "ｶﾅ".
                      DisplayCase{"DoubleAndHalfWidth", "\x8e\xfc\x94\x67\x90\x94\xb6\xc5",
                                  "周波数ｶﾅ"},
                      // NEC special characters exist in CP932 but not in Shift_JIS.
                      DisplayCase{"NecSpecial", "\x87\x40\x87\x41", "①②"},
                      // A lead byte with nothing after it at the end.
                      DisplayCase{"CutLeadByte", "ab\x8e", "ab\xEF\xBF\xBD"},
                      // A lead byte followed by a byte that cannot trail: only the lead is
                      // lost, the next character survives.
                      DisplayCase{"BadTrail", "\x81\x20x", "\xEF\xBF\xBD x"},
                      // Bytes that CP932 leaves undefined.
                      DisplayCase{"Undefined", "a\xa0z\xfd", "a\xEF\xBF\xBDz\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quolix
