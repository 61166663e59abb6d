#ifdef QUOLIX_COUNTER_SIM

#include "counter-sim/CounterModel.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quolix {
namespace {

ModelConfig Config(double freqHz, int resolution) {
    ModelConfig config;
    config.freqHz = freqHz;
    config.resolution = resolution;
    return config;
}

struct ExpectedCase {
    double freqHz;
    int resolution;
    double driftPpmPerHour;
    double elapsedSeconds;
    int32_t reading;
};

class CounterModelReadings : public ::testing::TestWithParam<ExpectedCase> {};

TEST_P(CounterModelReadings, NoiseFreeReadingFollowsFrequencyResolutionAndDrift) {
    const ExpectedCase& c = GetParam();
    ModelConfig config = Config(c.freqHz, c.resolution);
    config.driftPpmPerHour = c.driftPpmPerHour;
    CounterModel model(config);
    EXPECT_EQ(model.Measure(c.elapsedSeconds), c.reading);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CounterModelReadings,
    ::testing::Values(
        ExpectedCase{10e6, 0, 0.0, 0.0, 100000}, ExpectedCase{12345600, 0, 0.0, 0.0, 123456},
        ExpectedCase{12345600, 1, 0.0, 0.0, 1234560}, ExpectedCase{12345600, 2, 0.0, 0.0, 12345600},
        ExpectedCase{12345650, 0, 0.0, 0.0, 123457},  // rounds to nearest
        ExpectedCase{10e6, 2, 1.0, 3600.0, 10000010}, ExpectedCase{10e6, 2, -2.0, 1800.0, 9999990},
        ExpectedCase{10e6, 2, 1.0, 0.0, 10000000}, ExpectedCase{2e10, 2, 0.0, 0.0, 99999999},
        ExpectedCase{-1e9, 2, 0.0, 0.0, -9999999}));

TEST(CounterModelTest, FormatAlwaysGivesEightCharacters) {
    EXPECT_EQ(CounterModel::FormatReading(100000), "00100000");
    EXPECT_EQ(CounterModel::FormatReading(0), "00000000");
    EXPECT_EQ(CounterModel::FormatReading(-1234), "-0001234");
    EXPECT_EQ(CounterModel::FormatReading(99999999), "99999999");
    EXPECT_EQ(CounterModel::FormatReading(-9999999), "-9999999");
    EXPECT_EQ(CounterModel::FormatReading(123456789), "99999999");
    EXPECT_EQ(CounterModel::FormatReading(-2147483647 - 1), "-9999999");
}

TEST(CounterModelTest, ClampHandlesNonFiniteCounts) {
    EXPECT_EQ(CounterModel::ClampReading(INFINITY), CounterModel::MaxReading);
    EXPECT_EQ(CounterModel::ClampReading(-INFINITY), CounterModel::MinReading);
    EXPECT_EQ(CounterModel::ClampReading(NAN), 0);
}

TEST(CounterModelTest, UnknownResolutionCountsHundredHertz) {
    EXPECT_EQ(CounterModel::HzPerCount(0), 100);
    EXPECT_EQ(CounterModel::HzPerCount(1), 10);
    EXPECT_EQ(CounterModel::HzPerCount(2), 1);
    EXPECT_EQ(CounterModel::HzPerCount(7), 100);
}

TEST(CounterModelTest, NormalReplyIsReadingWithCrLf) {
    CounterModel model(Config(12345600, 0));
    const ModelReply reply = model.NextReply(0.0);
    EXPECT_EQ(reply.kind, ModelReply::Kind::Normal);
    EXPECT_EQ(reply.bytes, "00123456\r\n");
    EXPECT_EQ(reply.delayMs, 0);
}

std::vector<int32_t> Sequence(const ModelConfig& config, int count) {
    CounterModel model(config);
    std::vector<int32_t> readings;
    for (int i = 0; i < count; ++i) {
        readings.push_back(model.Measure(0.0));
    }
    return readings;
}

TEST(CounterModelTest, SameSeedSameNoiseDifferentSeedDifferentNoise) {
    ModelConfig config = Config(10e6, 2);
    config.noiseCounts = 25.0;
    config.seed = 99;
    const std::vector<int32_t> first = Sequence(config, 100);
    EXPECT_EQ(Sequence(config, 100), first);
    config.seed = 100;
    EXPECT_NE(Sequence(config, 100), first);
}

TEST(CounterModelTest, NoiseHasTheRequestedSpread) {
    ModelConfig config = Config(10e6, 2);
    config.noiseCounts = 40.0;
    const std::vector<int32_t> readings = Sequence(config, 20000);
    double sum = 0.0;
    double squares = 0.0;
    for (const int32_t r : readings) {
        const double d = r - 10e6;
        sum += d;
        squares += d * d;
    }
    const double mean = sum / readings.size();
    const double deviation = std::sqrt(squares / readings.size() - mean * mean);
    EXPECT_NEAR(mean, 0.0, 2.0);
    EXPECT_NEAR(deviation, 40.0, 2.0);
}

struct FaultCounts {
    int normal = 0;
    int dropped = 0;
    int malformed = 0;
    int late = 0;
};

FaultCounts CountFaults(const ModelConfig& config, int requests) {
    CounterModel model(config);
    FaultCounts counts;
    for (int i = 0; i < requests; ++i) {
        const ModelReply reply = model.NextReply(0.0);
        switch (reply.kind) {
            case ModelReply::Kind::Normal:
                ++counts.normal;
                EXPECT_EQ(reply.bytes.size(), 10u);
                break;
            case ModelReply::Kind::Dropped:
                ++counts.dropped;
                EXPECT_TRUE(reply.bytes.empty());
                break;
            case ModelReply::Kind::Malformed:
                ++counts.malformed;
                EXPECT_TRUE(reply.bytes.size() == 9u || reply.bytes.size() == 11u)
                    << reply.bytes.size();
                EXPECT_EQ(reply.bytes.substr(reply.bytes.size() - 2), "\r\n");
                break;
        }
        if (reply.delayMs > 0) {
            ++counts.late;
            EXPECT_EQ(reply.delayMs, config.lateMs);
        }
    }
    return counts;
}

TEST(CounterModelTest, CertainFaultsAlwaysHappen) {
    ModelConfig drop = Config(10e6, 0);
    drop.dropProbability = 1.0;
    EXPECT_EQ(CountFaults(drop, 100).dropped, 100);

    ModelConfig malformed = Config(10e6, 0);
    malformed.malformedProbability = 1.0;
    EXPECT_EQ(CountFaults(malformed, 100).malformed, 100);

    ModelConfig late = Config(10e6, 0);
    late.lateProbability = 1.0;
    late.lateMs = 250;
    const FaultCounts lateCounts = CountFaults(late, 100);
    EXPECT_EQ(lateCounts.late, 100);
    EXPECT_EQ(lateCounts.normal, 100);
}

TEST(CounterModelTest, NoFaultsByDefault) {
    const FaultCounts counts = CountFaults(Config(10e6, 0), 1000);
    EXPECT_EQ(counts.normal, 1000);
    EXPECT_EQ(counts.late, 0);
}

TEST(CounterModelTest, FaultRatesFollowTheProbabilities) {
    ModelConfig config = Config(10e6, 0);
    config.dropProbability = 0.25;
    config.malformedProbability = 0.5;
    const FaultCounts counts = CountFaults(config, 8000);
    EXPECT_NEAR(counts.dropped, 2000, 200);
    // Malformed among the replies that were not dropped.
    EXPECT_NEAR(counts.malformed, 3000, 200);
}

TEST(CounterModelTest, FaultsDoNotShiftTheNoiseSequence) {
    ModelConfig clean = Config(10e6, 2);
    clean.noiseCounts = 30.0;
    ModelConfig faulty = clean;
    faulty.malformedProbability = 0.0;
    faulty.lateProbability = 1.0;
    CounterModel a(clean);
    CounterModel b(faulty);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(a.NextReply(0.0).bytes, b.NextReply(0.0).bytes) << "request " << i;
    }
}

}  // namespace
}  // namespace quolix

#endif  // QUOLIX_COUNTER_SIM
