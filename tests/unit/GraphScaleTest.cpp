#include "graph/GraphScale.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"

namespace quolix {
namespace {

struct Sample {
    int32_t time;
    int32_t reading;
};

// Fills the store directly, as a record file would, so that any times and
// readings can be set up.
void Fill(CQuolixDoc& doc, const std::vector<Sample>& samples) {
    doc.count = static_cast<int32_t>(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        doc.times[i] = samples[i].time;
        doc.readings[i] = samples[i].reading;
    }
}

GraphScale ScaleOf(const std::vector<Sample>& samples) {
    CQuolixDoc doc;
    Fill(doc, samples);
    return ComputeScale(doc.Samples());
}

struct TimeCase {
    int64_t elapsed;
    const char* label;
    int32_t divisions;
    int32_t span;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << "elapsed " << c.elapsed;
}

class TimeAxisTest : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeAxisTest, ChoosesTheDivision) {
    const TimeCase& c = GetParam();
    // The first sample at 1000 s: only the distance between first and last counts.
    const GraphScale scale =
        ScaleOf({{1000, 5}, {1000, 5}, {static_cast<int32_t>(1000 + c.elapsed), 5}});
    EXPECT_EQ(scale.timeLabel, c.label);
    EXPECT_EQ(scale.timeDivisions, c.divisions);
    EXPECT_EQ(scale.timeSpan, c.span);
    EXPECT_EQ(scale.firstTime, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedTable, TimeAxisTest,
    testing::Values(TimeCase{0, "10sec", 1, 10}, TimeCase{10, "10sec", 2, 20},
                    TimeCase{149, "10sec", 15, 150}, TimeCase{150, "30sec", 6, 180},
                    TimeCase{449, "30sec", 15, 450}, TimeCase{450, " 1min", 8, 480},
                    TimeCase{899, " 1min", 15, 900}, TimeCase{900, "10min", 2, 1200},
                    TimeCase{8999, "10min", 15, 9000}, TimeCase{9000, "30min", 6, 10800},
                    TimeCase{26999, "30min", 15, 27000}, TimeCase{27000, "1hour", 8, 28800},
                    TimeCase{54000, "6hour", 3, 64800}, TimeCase{323999, "6hour", 15, 324000},
                    TimeCase{324000, " 1day", 4, 345600}, TimeCase{1295999, " 1day", 15, 1296000},
                    TimeCase{1296000, "1week", 3, 1814400},
                    TimeCase{9072000, "1week", 16, 9676800}));

// A last sample earlier than the first keeps one 10 s division, so the span
// that the data line divides by stays positive.
INSTANTIATE_TEST_SUITE_P(LastBeforeFirst, TimeAxisTest,
                         testing::Values(TimeCase{-1, "10sec", 1, 10}, TimeCase{-9, "10sec", 1, 10},
                                         TimeCase{-10, "10sec", 1, 10},
                                         TimeCase{-19, "10sec", 1, 10},
                                         TimeCase{-1000000, "10sec", 1, 10}));

TEST(TimeAxisLimits, TimesFartherApartThan32BitsCapTheSpanBelowInt32Max) {
    // 3550 whole weeks is the most that fits in 32 bits (3551 would not).
    for (const std::vector<Sample>& samples : {std::vector<Sample>{{INT32_MIN, 0}, {INT32_MAX, 0}},
                                               std::vector<Sample>{{0, 0}, {INT32_MAX, 0}}}) {
        const GraphScale scale = ScaleOf(samples);
        EXPECT_EQ(scale.timeLabel, "1week");
        EXPECT_EQ(scale.timeDivisions, 3550);
        EXPECT_EQ(scale.timeSpan, 2147040000);
    }
    // Just below the cap the rule is unchanged: 3549 weeks and a bit.
    const GraphScale scale = ScaleOf({{0, 0}, {3549 * 604800 + 5, 0}});
    EXPECT_EQ(scale.timeDivisions, 3550);
    EXPECT_EQ(scale.timeSpan, 2147040000);
}

struct DeviationCase {
    int32_t a;
    int32_t unit;
    int32_t divisions;
    int32_t span;
};

void PrintTo(const DeviationCase& c, std::ostream* os) {
    *os << "deviation " << c.a;
}

class DeviationAxisTest : public testing::TestWithParam<DeviationCase> {};

TEST_P(DeviationAxisTest, AboveAndBelowTheFirstReadingAlike) {
    const DeviationCase& c = GetParam();
    const int32_t first = 50000000;
    for (const int32_t farthest : {first + c.a, first - c.a}) {
        const GraphScale scale =
            ScaleOf({{0, first}, {1, first + c.a / 2}, {2, farthest}, {3, first}});
        EXPECT_EQ(scale.deviationUnit, c.unit) << farthest;
        EXPECT_EQ(scale.deviationDivisions, c.divisions) << farthest;
        EXPECT_EQ(scale.deviationSpan, c.span) << farthest;
        EXPECT_EQ(scale.firstReading, first);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedTable, DeviationAxisTest,
    testing::Values(DeviationCase{0, 10, 1, 10}, DeviationCase{10, 10, 2, 20},
                    DeviationCase{189, 10, 19, 190}, DeviationCase{190, 100, 2, 200},
                    DeviationCase{199, 100, 2, 200}, DeviationCase{200, 100, 3, 300},
                    DeviationCase{1899, 100, 19, 1900}, DeviationCase{1900, 1000, 2, 2000},
                    DeviationCase{18999999, 1000000, 19, 19000000},
                    DeviationCase{19000000, 10000000, 2, 20000000}));

TEST(DeviationAxisLimits, ReadingsFartherApartThan32BitsKeepTheSpanIn32Bits) {
    struct Case {
        int32_t first;
        int32_t other;
        int32_t divisions;
    };
    // Up to 1,999,999,999 counts the rule itself applies; beyond that the
    // deviation is capped so that the span (2 x 10^9) still fits.
    for (const Case& c : {Case{0, 1900000000, 2}, Case{0, 1999999999, 2}, Case{0, 2000000000, 2},
                          Case{INT32_MIN, INT32_MAX, 2}, Case{INT32_MAX, INT32_MIN, 2}}) {
        const GraphScale scale = ScaleOf({{0, c.first}, {1, c.other}});
        EXPECT_EQ(scale.deviationUnit, 1000000000) << c.other;
        EXPECT_EQ(scale.deviationDivisions, c.divisions) << c.other;
        EXPECT_EQ(scale.deviationSpan, 2000000000) << c.other;
        EXPECT_EQ(scale.firstReading, c.first);
    }
    const GraphScale scale = ScaleOf({{0, 0}, {1, 1899999999}});
    EXPECT_EQ(scale.deviationUnit, 100000000);
    EXPECT_EQ(scale.deviationDivisions, 19);
    EXPECT_EQ(scale.deviationSpan, 1900000000);
}

TEST(GraphScaleStore, EmptyStore) {
    CQuolixDoc doc;
    GraphScale scale;
    scale.firstReading = 7;
    scale.firstTime = 7;
    doc.ComputeScale(scale);
    EXPECT_EQ(scale.sampleCount, 0);
    EXPECT_EQ(scale.timeDivisions, 1);
    EXPECT_EQ(scale.timeSpan, 10);
    EXPECT_EQ(scale.timeLabel, "10sec");
    EXPECT_EQ(scale.deviationDivisions, 1);
    EXPECT_EQ(scale.deviationSpan, 1);
    EXPECT_EQ(scale.firstReading, 0);
    EXPECT_EQ(scale.firstTime, 0);
    EXPECT_EQ(scale.deviationUnit, 10);
}

TEST(GraphScaleStore, NegativeCountIsResetAndTreatedAsEmpty) {
    CQuolixDoc doc;
    Fill(doc, {{3, 100}, {400, 900}});
    doc.count = -4;
    GraphScale scale;
    doc.ComputeScale(scale);
    EXPECT_EQ(doc.count, 0);
    EXPECT_EQ(scale.sampleCount, 0);
    EXPECT_EQ(scale.timeSpan, 10);
    EXPECT_EQ(scale.deviationSpan, 1);
    EXPECT_EQ(scale.firstReading, 0);
}

TEST(GraphScaleStore, SingleSample) {
    const GraphScale scale = ScaleOf({{42, 1234567}});
    EXPECT_EQ(scale.sampleCount, 1);
    EXPECT_EQ(scale.timeDivisions, 1);
    EXPECT_EQ(scale.timeSpan, 10);
    EXPECT_EQ(scale.deviationUnit, 10);
    EXPECT_EQ(scale.deviationDivisions, 1);
    EXPECT_EQ(scale.deviationSpan, 10);
    EXPECT_EQ(scale.firstReading, 1234567);
    EXPECT_EQ(scale.firstTime, 42);
}

TEST(GraphScaleStore, ReadsEverySampleAndChangesNothing) {
    CQuolixDoc doc;
    // The farthest reading is in the middle, the last time decides the axis.
    Fill(doc, {{0, 1000}, {5, 1500}, {9, 1000}, {20, 1010}});
    GraphScale scale;
    doc.ComputeScale(scale);
    EXPECT_EQ(scale.sampleCount, 4);
    EXPECT_EQ(scale.timeDivisions, 3);
    EXPECT_EQ(scale.deviationUnit, 100);
    EXPECT_EQ(scale.deviationDivisions, 6);
    EXPECT_EQ(doc.count, 4);
    EXPECT_EQ(doc.readings[1], 1500);
    EXPECT_EQ(doc.times[3], 20);
}

TEST(GraphScaleStore, CountBeyondTheArraysReadsOnlyTheArrays) {
    CQuolixDoc doc;
    doc.times.fill(0);
    doc.readings.fill(0);
    doc.times[CQuolixDoc::SampleCapacity - 1] = 150;
    doc.count = CQuolixDoc::SampleCapacity + 50;
    GraphScale scale;
    doc.ComputeScale(scale);
    EXPECT_EQ(scale.sampleCount, CQuolixDoc::SampleCapacity);
    EXPECT_EQ(scale.timeLabel, "30sec");
}

TEST(GraphScaleTable, LabelsAreFiveCharactersAndEndInASentinel) {
    for (const TimeDivision& division : TimeDivisionTable) {
        EXPECT_EQ(division.label.size(), 5u) << division.seconds;
    }
    EXPECT_EQ(TimeDivisionTable.back().seconds, -1);
    EXPECT_EQ(TimeDivisionTable.back().label, "-----");
}

}  // namespace
}  // namespace quolix
