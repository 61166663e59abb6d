#include "graph/FrequencyText.h"

#include <climits>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct FrequencyCase {
    int32_t reading;
    int32_t resolution;
    const char* text;
};

void PrintTo(const FrequencyCase& c, std::ostream* os) {
    *os << c.reading << " at resolution " << c.resolution;
}

class FrequencyTextTest : public testing::TestWithParam<FrequencyCase> {};

TEST_P(FrequencyTextTest, LaysOutTheReading) {
    const FrequencyCase& c = GetParam();
    EXPECT_EQ(FormatFrequency(c.reading, c.resolution), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedTable, FrequencyTextTest,
    testing::Values(
        FrequencyCase{1234567, 0, "  123,456.7"}, FrequencyCase{1234567, 1, " 12,345.67"},
        FrequencyCase{1234567, 2, " 1,234.567"}, FrequencyCase{1234567, 3, "01234567"},
        FrequencyCase{5, 0, "        0.5"}, FrequencyCase{5, 1, "      0.05"},
        FrequencyCase{5, 2, "     0.005"}, FrequencyCase{5, 3, "00000005"},
        FrequencyCase{0, 0, "        0.0"}, FrequencyCase{0, 1, "      0.00"},
        FrequencyCase{0, 2, "     0.000"}, FrequencyCase{0, 3, "00000000"},
        FrequencyCase{10, 0, "        1.0"}, FrequencyCase{10, 1, "      0.10"},
        FrequencyCase{10, 2, "     0.010"}, FrequencyCase{1000, 0, "      100.0"},
        FrequencyCase{1000, 1, "     10.00"}, FrequencyCase{1000, 2, "     1.000"},
        FrequencyCase{50000, 0, "    5,000.0"}, FrequencyCase{50000, 1, "    500.00"},
        FrequencyCase{50000, 2, "    50.000"}, FrequencyCase{12345678, 0, "1,234,567.8"},
        FrequencyCase{12345678, 1, "123,456.78"}, FrequencyCase{12345678, 2, "12,345.678"},
        FrequencyCase{99999999, 0, "9,999,999.9"}, FrequencyCase{99999999, 1, "999,999.99"},
        FrequencyCase{99999999, 2, "99,999.999"}, FrequencyCase{99999999, 3, "99999999"}));

// Negatives keep their sign at position 0, which stops the blank scan at once.
INSTANTIATE_TEST_SUITE_P(Negative, FrequencyTextTest,
                         testing::Values(FrequencyCase{-5, 0, "-,000,000.5"},
                                         FrequencyCase{-5, 1, "-00,000.05"},
                                         FrequencyCase{-5, 2, "-0,000.005"},
                                         FrequencyCase{-5, 3, "-0000005"},
                                         FrequencyCase{-12345678, 0, "-,123,456.7"},
                                         FrequencyCase{-12345678, 3, "-12345678"},
                                         FrequencyCase{INT32_MIN, 0, "-,214,748.3"},
                                         FrequencyCase{INT32_MIN, 7, "-2147483648"}));

// Nine or more characters: only the first eight are laid out.
INSTANTIATE_TEST_SUITE_P(TooLong, FrequencyTextTest,
                         testing::Values(FrequencyCase{123456789, 0, "1,234,567.8"},
                                         FrequencyCase{100000000, 0, "1,000,000.0"},
                                         FrequencyCase{100000000, 1, "100,000.00"},
                                         FrequencyCase{100000000, 2, "10,000.000"},
                                         FrequencyCase{INT32_MAX, 2, "21,474.836"},
                                         FrequencyCase{123456789, 3, "123456789"}));

INSTANTIATE_TEST_SUITE_P(UnknownResolution, FrequencyTextTest,
                         testing::Values(FrequencyCase{1234567, -1, "01234567"},
                                         FrequencyCase{1234567, 99, "01234567"},
                                         FrequencyCase{1234567, INT32_MIN, "01234567"},
                                         FrequencyCase{0, 3, "00000000"}));

TEST(FrequencyTextSharing, EveryCallOverwritesTheOneSharedString) {
    const std::string& first = FormatFrequency(1234567, 0);
    EXPECT_EQ(&first, &FrequencyText());
    const std::string& second = FormatFrequency(5, 2);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first, "     0.005");
}

TEST(FrequencyTextSharing, ACallerChangeIsReplacedByTheNextCall) {
    FrequencyText() = "garbage that is longer than any result";
    EXPECT_EQ(FormatFrequency(10, 0), "        1.0");
    FrequencyText().erase(0, 2);
    EXPECT_EQ(FormatFrequency(10, 0), "        1.0");
}

}  // namespace
}  // namespace quolix
