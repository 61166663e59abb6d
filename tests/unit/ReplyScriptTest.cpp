#ifdef QUOLIX_COUNTER_SIM

#include "counter-sim/ReplyScript.h"

#include <string>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct DecodeCase {
    const char* line;
    std::string bytes;
};

class ReplyScriptDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(ReplyScriptDecode, EscapesBecomeBytes) {
    std::string bytes;
    std::string error;
    ASSERT_TRUE(ReplyScript::DecodeLine(GetParam().line, bytes, error)) << error;
    EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReplyScriptDecode,
                         ::testing::Values(DecodeCase{"", ""}, DecodeCase{"01234567", "01234567"},
                                           DecodeCase{"01234567\\r\\n", "01234567\r\n"},
                                           DecodeCase{"a\\tb", "a\tb"}, DecodeCase{"\\\\r", "\\r"},
                                           DecodeCase{"\\x0D\\x0a", "\r\n"},
                                           DecodeCase{"\\x00", std::string(1, '\0')},
                                           DecodeCase{"1234567\\xB0", "1234567\xB0"},
                                           DecodeCase{"\\xff\\x7F", "\xFF\x7F"},
                                           DecodeCase{"\\x411", "A1"}));

class ReplyScriptBadLine : public ::testing::TestWithParam<const char*> {};

TEST_P(ReplyScriptBadLine, IsRefusedWithAReason) {
    std::string bytes;
    std::string error;
    EXPECT_FALSE(ReplyScript::DecodeLine(GetParam(), bytes, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, ReplyScriptBadLine,
                         ::testing::Values("abc\\", "\\q", "\\x", "\\x4", "\\xZZ", "\\x4g"));

TEST(ReplyScriptTest, OneReplyPerLineThenSilence) {
    ReplyScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("00000001\\r\\n\n\n00000002\\r\r\n00000003\\r", error)) << error;
    ASSERT_EQ(script.Size(), 4u);
    const std::string* reply = script.Next();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(*reply, "00000001\r\n");
    reply = script.Next();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(*reply, "");
    // A CR LF line break is a line break, not a byte to send.
    reply = script.Next();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(*reply, "00000002\r");
    // The last line needs no line break.
    reply = script.Next();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(*reply, "00000003\r");
    EXPECT_EQ(script.Next(), nullptr);
    EXPECT_EQ(script.Next(), nullptr);
}

TEST(ReplyScriptTest, BadLineIsReportedWithItsNumberAndLeavesNothing) {
    ReplyScript script;
    std::string error;
    EXPECT_FALSE(script.Parse("00000001\\r\n\\q\n", error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(script.Size(), 0u);
    EXPECT_EQ(script.Next(), nullptr);
}

TEST(ReplyScriptTest, MissingOrUnreadableFileIsReported) {
    ReplyScript script;
    std::string error;
    EXPECT_FALSE(script.Load("/nonexistent/quolix-script", error));
    EXPECT_NE(error.find("/nonexistent/quolix-script"), std::string::npos);
    error.clear();
    EXPECT_FALSE(script.Load("/tmp", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quolix

#endif  // QUOLIX_COUNTER_SIM
