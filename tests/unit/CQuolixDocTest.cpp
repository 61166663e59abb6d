#include "acquisition/CQuolixDoc.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "framework/CView.h"

namespace quolix {
namespace {

constexpr int32_t LastInterval = 8'355'840;  // 4096 x 2040

// Fills the store directly with count samples at times i * step and readings
// 1000 + i, as a recording or a file would have left them.
void Fill(CQuolixDoc& doc, int32_t count, int32_t step = 1) {
    for (int32_t i = 0; i < count; ++i) {
        doc.times[static_cast<size_t>(i)] = i * step;
        doc.readings[static_cast<size_t>(i)] = 1000 + i;
    }
    doc.count = count;
}

class FakeView : public CView {
  public:
    void OnUpdate(CView*, int hint) override {
        if (hint == CQuolixDoc::StoreResetHint) {
            ++resets;
        }
    }
    void OnDraw(DeviceContext&) override {}
    int resets = 0;
};

// ---- Decimation --------------------------------------------------------

struct DecimationCase {
    int32_t before;
    int32_t after;
};

class DecimationTest : public testing::TestWithParam<DecimationCase> {};

TEST_P(DecimationTest, KeepsEverySecondSampleDropsTheLastAndAppends) {
    const DecimationCase c = GetParam();
    CQuolixDoc doc;
    Fill(doc, c.before);
    doc.Append(5000, -42);
    ASSERT_EQ(doc.count, c.after);
    const int32_t kept = c.after - 1;
    for (int32_t i = 0; i < kept; ++i) {
        EXPECT_EQ(doc.times[static_cast<size_t>(i)], 2 * i) << i;
        EXPECT_EQ(doc.readings[static_cast<size_t>(i)], 1000 + 2 * i) << i;
    }
    EXPECT_EQ(doc.times[static_cast<size_t>(kept)], 5000);
    EXPECT_EQ(doc.readings[static_cast<size_t>(kept)], -42);
}

// 2041 and above can only come from a file; the last sample is dropped
// whether the count is even or odd.
INSTANTIATE_TEST_SUITE_P(CQuolixDocTest, DecimationTest,
                         testing::Values(DecimationCase{2040, 1021}, DecimationCase{2041, 1021},
                                         DecimationCase{2042, 1022}, DecimationCase{2100, 1051}));

TEST(CQuolixDocTest, AppendBelowTheLimitDoesNotDecimate) {
    CQuolixDoc doc;
    Fill(doc, 2039);
    doc.Append(2039, 7);
    ASSERT_EQ(doc.count, 2040);
    EXPECT_EQ(doc.times[1], 1);
    EXPECT_EQ(doc.readings[2038], 1000 + 2038);
    EXPECT_EQ(doc.times[2039], 2039);
    EXPECT_EQ(doc.readings[2039], 7);
}

TEST(CQuolixDocTest, EvenlySpacedRecordingStaysEvenlySpacedAcrossDecimation) {
    CQuolixDoc doc;
    int32_t time = 0;
    // Three decimations' worth of a reading in every interval.
    while (time < 8 * 2040) {
        doc.Append(time, 1);
        time += doc.ChooseInterval();
    }
    const int32_t spacing = doc.times[1] - doc.times[0];
    EXPECT_EQ(spacing, 8);
    for (int32_t i = 1; i < doc.count; ++i) {
        EXPECT_EQ(doc.times[static_cast<size_t>(i)] - doc.times[static_cast<size_t>(i - 1)],
                  spacing)
            << i;
    }
    EXPECT_EQ(doc.times[0], 0);
}

// ---- Sampling interval -------------------------------------------------

struct IntervalCase {
    int32_t lastTime;
    int32_t interval;
};

class ChooseIntervalTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(ChooseIntervalTest, ShortestIntervalThatCoversTheRecording) {
    CQuolixDoc doc;
    doc.times[0] = 0;
    doc.times[1] = GetParam().lastTime;
    doc.count = 2;
    EXPECT_EQ(doc.ChooseInterval(), GetParam().interval);
}

INSTANTIATE_TEST_SUITE_P(
    CQuolixDocTest, ChooseIntervalTest,
    testing::Values(IntervalCase{-5, 1}, IntervalCase{0, 1}, IntervalCase{2039, 1},
                    IntervalCase{2040, 2}, IntervalCase{4079, 2}, IntervalCase{4080, 4},
                    IntervalCase{4'177'919, 2048}, IntervalCase{4'177'920, 4096},
                    IntervalCase{LastInterval - 1, 4096}, IntervalCase{LastInterval, -1},
                    IntervalCase{std::numeric_limits<int32_t>::max(), -1}));

TEST(CQuolixDocTest, EmptyStoreSamplesEverySecond) {
    CQuolixDoc doc;
    EXPECT_EQ(doc.ChooseInterval(), 1);
}

// ---- Full store --------------------------------------------------------

TEST(CQuolixDocTest, FullStoreDiscardsAppends) {
    CQuolixDoc doc;
    Fill(doc, 2040, 4096);
    doc.times[2039] = LastInterval;
    ASSERT_EQ(doc.IsFull(), 1);
    doc.Append(LastInterval + 4096, 9);
    EXPECT_EQ(doc.count, 2040);
    EXPECT_EQ(doc.times[2039], LastInterval);
    EXPECT_EQ(doc.readings[2039], 1000 + 2039);
    EXPECT_EQ(doc.times[1], 4096);
}

TEST(CQuolixDocTest, NotFullBelowTheLimitEvenPastTheLastInterval) {
    CQuolixDoc doc;
    Fill(doc, 2039);
    doc.times[2038] = LastInterval;
    EXPECT_EQ(doc.ChooseInterval(), -1);
    EXPECT_EQ(doc.IsFull(), 0);
}

TEST(CQuolixDocTest, StoreLoadedAboveTheLimitPastTheLastIntervalIsFull) {
    CQuolixDoc doc;
    Fill(doc, 2100);
    doc.times[2099] = LastInterval;
    EXPECT_EQ(doc.IsFull(), 1);
    doc.Append(LastInterval + 1, 1);
    EXPECT_EQ(doc.count, 2100);
}

TEST(CQuolixDocTest, AppendAtTheLastIntervalDecimatesThenFillsAtTheNextLimit) {
    CQuolixDoc doc;
    Fill(doc, 2040, 4096);  // last time 2039 x 4096, below the last interval
    ASSERT_EQ(doc.IsFull(), 0);
    doc.Append(LastInterval, 5);
    ASSERT_EQ(doc.count, 1021);
    EXPECT_EQ(doc.times[1020], LastInterval);
    EXPECT_EQ(doc.ChooseInterval(), -1);
    EXPECT_EQ(doc.IsFull(), 0);

    int32_t time = LastInterval;
    while (doc.count < 2040) {
        EXPECT_EQ(doc.IsFull(), 0) << doc.count;
        doc.Append(++time, 6);
    }
    EXPECT_EQ(doc.IsFull(), 1);
    doc.Append(time + 1, 7);
    EXPECT_EQ(doc.count, 2040);
    EXPECT_EQ(doc.times[2039], time);
    EXPECT_EQ(doc.readings[2039], 6);
}

// ---- Reading samples ---------------------------------------------------

struct SampleQuery {
    int32_t index;
    int32_t result;
    int32_t time;
    int32_t reading;
};

TEST(CQuolixDocTest, GetSampleNeverReturnsIndexZeroOrOutsideTheStore) {
    struct Case {
        int32_t count;
        SampleQuery query;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0}},
        {0, {-1, 0, 0, 0}},
        {0, {1, 0, 0, 0}},
        {1, {0, 0, 0, 0}},
        {1, {1, 0, 0, 0}},
        {5, {0, 0, 0, 0}},
        {5, {1, 5, 1, 1001}},
        {5, {4, 5, 4, 1004}},
        {5, {5, 0, 0, 0}},
        {5, {-3, 0, 0, 0}},
        {2100, {2099, 2100, 2099, 3099}},
        {2100, {2100, 0, 0, 0}},
        {5, {std::numeric_limits<int32_t>::min(), 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CQuolixDoc doc;
        Fill(doc, c.count);
        int32_t time = 77;
        int32_t reading = 77;
        EXPECT_EQ(doc.GetSample(time, reading, c.query.index), c.query.result)
            << "count " << c.count << " index " << c.query.index;
        EXPECT_EQ(time, c.query.time) << "count " << c.count << " index " << c.query.index;
        EXPECT_EQ(reading, c.query.reading) << "count " << c.count << " index " << c.query.index;
    }
}

TEST(CQuolixDocTest, LastSampleNeedsTwoSamples) {
    struct Case {
        int32_t count;
        int32_t result;
        int32_t time;
        int32_t reading;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {1, 0, 0, 0},
        {2, 2, 1, 1001},
        {2040, 2040, 2039, 3039},
    };
    for (const Case& c : cases) {
        CQuolixDoc doc;
        Fill(doc, c.count);
        int32_t time = 77;
        int32_t reading = 77;
        EXPECT_EQ(doc.LastSample(time, reading), c.result) << "count " << c.count;
        EXPECT_EQ(time, c.time) << "count " << c.count;
        EXPECT_EQ(reading, c.reading) << "count " << c.count;
    }
}

TEST(CQuolixDocTest, NegativeTimesAndReadingsAreKeptUnchanged) {
    CQuolixDoc doc;
    doc.Append(-10, -1);
    doc.Append(-5, std::numeric_limits<int32_t>::min());
    doc.Append(0, -1234567);
    int32_t time = 0;
    int32_t reading = 0;
    ASSERT_EQ(doc.GetSample(time, reading, 1), 3);
    EXPECT_EQ(time, -5);
    EXPECT_EQ(reading, std::numeric_limits<int32_t>::min());
    ASSERT_EQ(doc.LastSample(time, reading), 3);
    EXPECT_EQ(time, 0);
    EXPECT_EQ(reading, -1234567);
    EXPECT_EQ(doc.times[0], -10);
    EXPECT_EQ(doc.readings[0], -1);
}

// ---- A negative count --------------------------------------------------

TEST(CQuolixDocTest, NegativeCountIsAnEmptyStoreForEveryOperation) {
    struct Case {
        const char* name;
        std::function<void(CQuolixDoc&)> check;
    };
    const Case cases[] = {
        {"Append",
         [](CQuolixDoc& doc) {
             doc.Append(3, 4);
             EXPECT_EQ(doc.count, 1);
             EXPECT_EQ(doc.times[0], 3);
             EXPECT_EQ(doc.readings[0], 4);
         }},
        {"IsFull", [](CQuolixDoc& doc) { EXPECT_EQ(doc.IsFull(), 0); }},
        {"ChooseInterval",
         [](CQuolixDoc& doc) {
             EXPECT_EQ(doc.ChooseInterval(), 1);
             EXPECT_EQ(doc.count, 0);
         }},
        {"GetSample",
         [](CQuolixDoc& doc) {
             int32_t time = 77;
             int32_t reading = 77;
             EXPECT_EQ(doc.GetSample(time, reading, 0), 0);
             EXPECT_EQ(doc.GetSample(time, reading, -1), 0);
             EXPECT_EQ(time, 0);
             EXPECT_EQ(reading, 0);
             EXPECT_EQ(doc.count, 0);
         }},
        {"LastSample",
         [](CQuolixDoc& doc) {
             int32_t time = 77;
             int32_t reading = 77;
             EXPECT_EQ(doc.LastSample(time, reading), 0);
             EXPECT_EQ(time, 0);
             EXPECT_EQ(reading, 0);
             EXPECT_EQ(doc.count, 0);
         }},
    };
    for (const int32_t negative : {-1, -5, std::numeric_limits<int32_t>::min()}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " with count " << negative);
            CQuolixDoc doc;
            // Values that would be read if a negative count reached an index.
            Fill(doc, 2100, -9);
            doc.count = negative;
            c.check(doc);
        }
    }
}

// ---- Reset, new document, comments -------------------------------------

TEST(CQuolixDocTest, ConstructionGivesAnEmptyStore) {
    const CQuolixDoc doc;
    EXPECT_EQ(doc.count, 0);
    for (const std::string& comment : doc.comments) {
        EXPECT_TRUE(comment.empty());
    }
}

TEST(CQuolixDocTest, ResetEmptiesTheStoreAndTellsTheViews) {
    CQuolixDoc doc;
    FakeView first;
    FakeView second;
    first.AttachDocument(&doc);
    second.AttachDocument(&doc);
    Fill(doc, 10);
    doc.comments = {"a", "b", "c", "d", "e"};
    doc.Reset();
    EXPECT_EQ(doc.count, 0);
    for (const std::string& comment : doc.comments) {
        EXPECT_TRUE(comment.empty());
    }
    // Which of them resets its acquisition is the view's decision.
    EXPECT_EQ(first.resets, 1);
    EXPECT_EQ(second.resets, 1);
}

TEST(CQuolixDocTest, ResetWithoutViewOnlyEmptiesTheStore) {
    CQuolixDoc doc;
    Fill(doc, 3);
    doc.comments = {"a", "b", "c", "d", "e"};
    doc.Reset();
    EXPECT_EQ(doc.count, 0);
    EXPECT_TRUE(doc.comments[4].empty());
}

TEST(CQuolixDocTest, OnNewDocumentEmptiesEverythingAndResetsTheView) {
    CQuolixDoc doc;
    FakeView view;
    view.AttachDocument(&doc);
    Fill(doc, 2040);
    doc.comments = {"a", "b", "c", "d", "e"};
    doc.SetPathName("/tmp/old.qlx");
    EXPECT_EQ(doc.OnNewDocument(), 1);
    EXPECT_EQ(doc.count, 0);
    EXPECT_TRUE(doc.comments[0].empty());
    EXPECT_TRUE(doc.comments[4].empty());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(view.resets, 1);
    EXPECT_EQ(doc.ChooseInterval(), 1);
}

TEST(CQuolixDocTest, CommentsTravelAsFiveUnchangedByteStrings) {
    CQuolixDoc doc;
    // CP932 for a Japanese word, a lone lead byte and an embedded NUL.
    const CQuolixDoc::Comments source = {"\x93\xfa\x96\x7b", "line 2", "\x82",
                                         std::string("a\0b", 3), "fifth"};
    doc.SetComments(source);
    CQuolixDoc::Comments copy;
    doc.CopyCommentsTo(copy);
    EXPECT_EQ(copy, source);
    EXPECT_EQ(doc.comments, source);
}

}  // namespace
}  // namespace quolix
