#include "link/ReplyParser.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quolix {
namespace {

constexpr int32_t Untouched = -424242;

struct FeedResult {
    int result;
    int32_t reading;
};

FeedResult FeedText(ReplyParser& parser, const std::string& bytes) {
    int32_t reading = Untouched;
    const int result =
        parser.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), reading);
    return {result, reading};
}

struct ParseCase {
    const char* name;
    std::string bytes;
    int result;
    int32_t reading;
};

class ReplyParserCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ReplyParserCases, OneFeedGivesTheExpectedReading) {
    const ParseCase& c = GetParam();
    ReplyParser parser;
    const FeedResult got = FeedText(parser, c.bytes);
    EXPECT_EQ(got.result, c.result);
    EXPECT_EQ(got.reading, c.reading);
}

const ParseCase ParseCases[] = {
    {"CarriageReturn", "01234567\r", 1, 1234567},
    {"CarriageReturnLineFeed", "01234567\r\n", 1, 1234567},
    {"SevenCharsDropped", "0123456\r", 0, Untouched},
    {"NineCharsDropped", "012345678\r", 0, Untouched},
    {"LeadingBlankSkipped", " 1234567\r", 1, 1234567},
    {"AllBlanksGiveZero", "        \r", 1, 0},
    {"MinusSign", "-0001234\r", 1, -1234},
    {"PlusSign", "+1234567\r", 1, 1234567},
    {"BlanksThenSign", "   -1234\r", 1, -1234},
    {"StopsAtPoint", "1234.567\r", 1, 1234},
    {"LettersGiveZero", "ABCDEFGH\r", 1, 0},
    {"SignWithoutDigitsGivesZero", "-ABCDEFG\r", 1, 0},
    {"DoubleSignGivesZero", "+-123456\r", 1, 0},
    {"HighByteAsEighthChar", "1234567\xB0\r", 1, 1234567},
    {"DelAsEighthChar", "1234567\x7F\r", 1, 1234567},
    {"FfAsFirstChar",
     "\xFF"
     "1234567\r",
     1, 0},
    {"LargestReading", "99999999\r", 1, 99999999},
    {"SmallestReading", "-9999999\r", 1, -9999999},
    {"TwoRepliesGiveTheLast", "00000001\r\n00000002\r\n", 1, 2},
    {"ValidThenMalformedKeepsValid", "00000001\r0000002\r", 1, 1},
    {"EachControlDropsShortRun", "0123\r4567\r", 0, Untouched},
    {"NulTerminates", std::string("01234567\0", 9), 1, 1234567},
    {"TabTerminates", "01234567\t", 1, 1234567},
    {"NoTerminatorYet", "01234567", 0, Untouched},
    {"EmptyInput", "", 0, Untouched},
    {"OnlyControlBytes", "\r\n\r\n", 0, Untouched},
};

INSTANTIATE_TEST_SUITE_P(Replies, ReplyParserCases, ::testing::ValuesIn(ParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyParserTest, EveryControlByteEndsAReply) {
    for (int control = 0x00; control < 0x20; ++control) {
        ReplyParser parser;
        const FeedResult got =
            FeedText(parser, std::string("00031416") + static_cast<char>(control));
        EXPECT_EQ(got.result, 1) << "control byte " << control;
        EXPECT_EQ(got.reading, 31416) << "control byte " << control;
        EXPECT_EQ(parser.ReplyLength(), 0) << "control byte " << control;
    }
}

TEST(ReplyParserTest, EveryByteFromSpaceUpIsACharacter) {
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        ReplyParser parser;
        const FeedResult got = FeedText(parser, std::string("1234567") + static_cast<char>(byte));
        EXPECT_EQ(got.result, 0) << "byte " << byte;
        EXPECT_EQ(parser.ReplyLength(), 8) << "byte " << byte;
    }
}

TEST(ReplyParserTest, ReplySplitOverTwoFeedsIsJoined) {
    ReplyParser parser;
    const FeedResult first = FeedText(parser, "12345");
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.reading, Untouched);
    const FeedResult second = FeedText(parser, "678\r");
    EXPECT_EQ(second.result, 1);
    EXPECT_EQ(second.reading, 12345678);
}

TEST(ReplyParserTest, TerminatorInTheNextFeedCompletesTheReply) {
    ReplyParser parser;
    EXPECT_EQ(FeedText(parser, "87654321").result, 0);
    const FeedResult second = FeedText(parser, "\n");
    EXPECT_EQ(second.result, 1);
    EXPECT_EQ(second.reading, 87654321);
}

TEST(ReplyParserTest, ResultCountsOnlyRepliesCompletedInThisFeed) {
    ReplyParser parser;
    EXPECT_EQ(FeedText(parser, "00000001\r").result, 1);
    const FeedResult again = FeedText(parser, "\n");
    EXPECT_EQ(again.result, 0);
    EXPECT_EQ(again.reading, Untouched);
}

TEST(ReplyParserTest, OverlongRunNeverOverrunsAndIsDropped) {
    ReplyParser parser;
    const FeedResult got = FeedText(parser, std::string(2000, '5'));
    EXPECT_EQ(got.result, 0);
    EXPECT_EQ(parser.ReplyLength(), ReplyParser::LengthLimit + 1);
    const FeedResult end = FeedText(parser, "\r");
    EXPECT_EQ(end.result, 0);
    EXPECT_EQ(end.reading, Untouched);
    EXPECT_EQ(parser.ReplyLength(), 0);
    // The parser recovers for the next reply.
    const FeedResult next = FeedText(parser, "00000777\r");
    EXPECT_EQ(next.result, 1);
    EXPECT_EQ(next.reading, 777);
}

TEST(ReplyParserTest, OverlongRunAcrossManyFeedsStaysBounded) {
    ReplyParser parser;
    for (int i = 0; i < 50; ++i) {
        FeedText(parser, std::string(100, 'x'));
        EXPECT_LE(parser.ReplyLength(), ReplyParser::LengthLimit + 1);
    }
    EXPECT_EQ(FeedText(parser, "\r").result, 0);
}

}  // namespace
}  // namespace quolix
