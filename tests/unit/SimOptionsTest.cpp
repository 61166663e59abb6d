#ifdef QUOLIX_COUNTER_SIM

#include "counter-sim/SimOptions.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quolix {
namespace {

SimOptions::Status Parse(const std::vector<std::string>& args, SimOptions& options,
                         std::string& error) {
    return SimOptions::Parse(args, options, error);
}

TEST(SimOptionsTest, DefaultsWithoutArguments) {
    SimOptions options;
    std::string error;
    ASSERT_EQ(Parse({}, options, error), SimOptions::Status::Run);
    EXPECT_EQ(options.linkPath, "/tmp/quolix-com1");
    EXPECT_TRUE(options.scriptPath.empty());
    EXPECT_EQ(options.model.freqHz, 10e6);
    EXPECT_EQ(options.model.resolution, 0);
    EXPECT_EQ(options.model.noiseCounts, 0.0);
    EXPECT_EQ(options.model.dropProbability, 0.0);
    EXPECT_EQ(options.model.seed, 1u);
}

TEST(SimOptionsTest, EveryOptionInBothForms) {
    SimOptions options;
    std::string error;
    const std::vector<std::string> args{"--link",
                                        "/tmp/x",
                                        "--freq-hz=12345600.5",
                                        "--resolution",
                                        "2",
                                        "--drift-ppm-per-hour=-0.5",
                                        "--noise",
                                        "3.5",
                                        "--drop=0.1",
                                        "--malformed",
                                        "0.2",
                                        "--late",
                                        "0.3",
                                        "--late-ms=750",
                                        "--seed",
                                        "18446744073709551615",
                                        "--script=/tmp/s",
                                        "--vanish-at",
                                        "2.5",
                                        "--vanish-for=3",
                                        "--silent-at=1",
                                        "--silent-for",
                                        "0.5"};
    ASSERT_EQ(Parse(args, options, error), SimOptions::Status::Run) << error;
    EXPECT_EQ(options.linkPath, "/tmp/x");
    EXPECT_EQ(options.scriptPath, "/tmp/s");
    EXPECT_EQ(options.model.freqHz, 12345600.5);
    EXPECT_EQ(options.model.resolution, 2);
    EXPECT_EQ(options.model.driftPpmPerHour, -0.5);
    EXPECT_EQ(options.model.noiseCounts, 3.5);
    EXPECT_EQ(options.model.dropProbability, 0.1);
    EXPECT_EQ(options.model.malformedProbability, 0.2);
    EXPECT_EQ(options.model.lateProbability, 0.3);
    EXPECT_EQ(options.model.lateMs, 750);
    EXPECT_EQ(options.model.seed, 18446744073709551615u);
    EXPECT_EQ(options.vanishAt, 2.5);
    EXPECT_EQ(options.vanishFor, 3);
    EXPECT_EQ(options.silentAt, 1);
    EXPECT_EQ(options.silentFor, 0.5);
}

TEST(SimOptionsTest, HelpAndVersionWinOverEverythingBeforeThem) {
    SimOptions options;
    std::string error;
    EXPECT_EQ(Parse({"--seed", "3", "--help"}, options, error), SimOptions::Status::Help);
    EXPECT_EQ(Parse({"-h"}, options, error), SimOptions::Status::Help);
    EXPECT_EQ(Parse({"--seed", "3", "--version"}, options, error), SimOptions::Status::Version);
    EXPECT_NE(SimOptions::Usage().find("--drift-ppm-per-hour"), std::string::npos);
}

class SimOptionsInvalid : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SimOptionsInvalid, IsRefusedWithAReason) {
    SimOptions options;
    std::string error;
    EXPECT_EQ(Parse(GetParam(), options, error), SimOptions::Status::Invalid);
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SimOptionsInvalid,
    ::testing::Values(
        std::vector<std::string>{"--bogus", "1"}, std::vector<std::string>{"stray"},
        std::vector<std::string>{"--seed"}, std::vector<std::string>{"--link="},
        std::vector<std::string>{"--script", ""}, std::vector<std::string>{"--resolution", "3"},
        std::vector<std::string>{"--resolution", "-1"},
        std::vector<std::string>{"--resolution", "1x"},
        std::vector<std::string>{"--freq-hz", "abc"}, std::vector<std::string>{"--freq-hz", ""},
        std::vector<std::string>{"--freq-hz", "inf"}, std::vector<std::string>{"--freq-hz", "nan"},
        std::vector<std::string>{"--freq-hz", "2e12"}, std::vector<std::string>{"--noise", "-1"},
        std::vector<std::string>{"--drift-ppm-per-hour", "1e7"},
        std::vector<std::string>{"--drop", "1.01"}, std::vector<std::string>{"--drop", "-0.1"},
        std::vector<std::string>{"--malformed", "2"}, std::vector<std::string>{"--late", "x"},
        std::vector<std::string>{"--late-ms", "-5"}, std::vector<std::string>{"--late-ms", "60001"},
        std::vector<std::string>{"--seed", "-1"}, std::vector<std::string>{"--vanish-at", "-1"},
        std::vector<std::string>{"--vanish-for", "x"},
        std::vector<std::string>{"--silent-for", "1e8"},
        std::vector<std::string>{"--seed", "18446744073709551616"}));

}  // namespace
}  // namespace quolix

#endif  // QUOLIX_COUNTER_SIM
