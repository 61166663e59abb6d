#include "base/IntegerText.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct ConvertCase {
    const char* text;
    int32_t value;
};

class ParseIntPrefixCases : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ParseIntPrefixCases, ReadsLikeAtoi) {
    EXPECT_EQ(ParseIntPrefix(GetParam().text), GetParam().value)
        << "text '" << GetParam().text << "'";
}

const ConvertCase ConvertCases[] = {
    {"", 0},
    {"0", 0},
    {"42", 42},
    {"\t\n\v\f\r 42", 42},
    {"-", 0},
    {"+", 0},
    {"- 1", 0},
    {"12ab34", 12},
    {"00000000", 0},
    {"-0", 0},
    {"2147483647", 2147483647},
    {"-2147483648", -2147483647 - 1},
    {"99999999999999999999", 2147483647},
    {"-99999999999999999999", -2147483647 - 1},
};

INSTANTIATE_TEST_SUITE_P(Texts, ParseIntPrefixCases, ::testing::ValuesIn(ConvertCases));

struct WholeCase {
    std::string text;
    bool accepted;
    long long value;
};

class ParseIntegerCases : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ParseIntegerCases, TakesASignAndDigitsWithinTheRangeAndNothingElse) {
    long long value = -7;
    EXPECT_EQ(ParseInteger(GetParam().text, -100, 100, value), GetParam().accepted)
        << "text '" << GetParam().text << "'";
    EXPECT_EQ(value, GetParam().accepted ? GetParam().value : -7);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseIntegerCases,
                         ::testing::Values(WholeCase{"0", true, 0}, WholeCase{"+5", true, 5},
                                           WholeCase{"-100", true, -100},
                                           WholeCase{"100", true, 100}, WholeCase{"007", true, 7},
                                           WholeCase{"101", false, 0}, WholeCase{"-101", false, 0},
                                           WholeCase{"", false, 0}, WholeCase{"+", false, 0},
                                           WholeCase{"-", false, 0}, WholeCase{"+-5", false, 0},
                                           WholeCase{" 5", false, 0}, WholeCase{"5 ", false, 0},
                                           WholeCase{"5x", false, 0},
                                           WholeCase{"99999999999999999999999", false, 0}));

TEST(ParseIntegerTest, ReachesTheEndsOfLongLong) {
    long long value = 0;
    EXPECT_TRUE(ParseInteger("-9223372036854775808", LLONG_MIN, LLONG_MAX, value));
    EXPECT_EQ(value, LLONG_MIN);
    EXPECT_FALSE(ParseInteger("9223372036854775808", LLONG_MIN, LLONG_MAX, value));
    EXPECT_EQ(value, LLONG_MIN);
}

}  // namespace
}  // namespace quolix
