#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/CQuolixView.h"
#include "framework/CommandIds.h"
#include "framework/CommandRouter.h"
#include "link/CounterLink.h"
#include "unit/FakeWindowServices.h"

// Whole recordings in accelerated time: the view's timer handler is driven as
// fast as it runs, with a counter that answers every request. The reading of
// each reply is the number of the receive step that parsed it, so every stored
// reading tells which tick produced it.
//
// The full-length run (about 33.4 million ticks) takes a few seconds in the dev
// build; to leave it out, e.g. in a slow instrumented build, run with
//   --gtest_filter=-WholeRecordingTest.FromEmptyStoreToFull

namespace quolix {
namespace {

using testing::FakeWindowServices;

class AlwaysAnsweringCounter : public CounterLink {
  public:
    int OpenPort(int) override { return 1; }
    int SendByte(uint8_t) override {
        ++sent;
        return 1;
    }
    int ReceivePending(int32_t& reading) override {
        reading = ++received;
        return 1;
    }
    void ClosePort() override {}

    int64_t sent = 0;
    int32_t received = 0;
};

constexpr int32_t EndOfIntervals = 8'355'840;  // 2040 x 4096 s

::testing::AssertionResult EvenlySpaced(const CQuolixDoc& doc, int32_t from, int32_t to,
                                        int32_t spacing) {
    for (int32_t i = from + 1; i < to; ++i) {
        const int32_t step =
            doc.times[static_cast<size_t>(i)] - doc.times[static_cast<size_t>(i - 1)];
        if (step != spacing) {
            return ::testing::AssertionFailure() << "samples " << i - 1 << " and " << i << " are "
                                                 << step << " s apart, not " << spacing;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ReadingsFromTheirOwnTick(const CQuolixDoc& doc, int32_t firstTick) {
    // Tick number firstTick + 4 t ends second t, so its reply carries the sample.
    for (int32_t i = 0; i < doc.count; ++i) {
        const int64_t expected = firstTick + 4 * int64_t{doc.times[static_cast<size_t>(i)]};
        if (doc.readings[static_cast<size_t>(i)] != expected) {
            return ::testing::AssertionFailure()
                   << "sample " << i << " at " << doc.times[static_cast<size_t>(i)]
                   << " s has reading " << doc.readings[static_cast<size_t>(i)] << ", not "
                   << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

class WholeRecordingTest : public ::testing::Test {
  protected:
    WholeRecordingTest() {
        view.AttachWindow(&window);
        view.AttachDocument(&doc);
    }

    void StartUp() {
        ASSERT_EQ(view.OnCreate(), 0);
        ASSERT_EQ(doc.OnNewDocument(), 1);
        view.OnTimer(CQuolixView::PollTimerId);
    }

    struct Run {
        int64_t ticks = 0;
        std::vector<int32_t> spacingsAfterDecimation;
        std::vector<int32_t> intervalsAfterDecimation;
        int32_t countBeforeLastTick = 0;
    };

    // Ticks until the view reports the store full; checks the spacing of the
    // store after every decimation on the way.
    Run RecordUntilFull(int64_t tickLimit) {
        Run run;
        int32_t previousCount = doc.count;
        while (view.full == 0 && run.ticks < tickLimit) {
            run.countBeforeLastTick = doc.count;
            view.OnTimer(CQuolixView::PollTimerId);
            ++run.ticks;
            if (doc.count < previousCount) {
                const int32_t spacing = doc.times[1] - doc.times[0];
                EXPECT_TRUE(EvenlySpaced(doc, 0, doc.count, spacing)) << "at " << view.elapsed;
                run.spacingsAfterDecimation.push_back(spacing);
                run.intervalsAfterDecimation.push_back(view.interval);
            }
            previousCount = doc.count;
        }
        return run;
    }

    void ExpectStoppedFull(const Run& run) {
        EXPECT_EQ(view.full, 1);
        EXPECT_EQ(view.recording, 0);
        EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{view.timerId});
        EXPECT_EQ(doc.count, CQuolixDoc::SampleLimit);
        EXPECT_EQ(run.countBeforeLastTick, CQuolixDoc::SampleLimit - 1);
        EXPECT_EQ(doc.IsFull(), 1);
        // After the last decimation at the end of the intervals, one sample per
        // second until the store holds 2040 again.
        EXPECT_EQ(doc.times[1020], EndOfIntervals);
        EXPECT_TRUE(EvenlySpaced(doc, 0, 1021, 8192));
        EXPECT_TRUE(EvenlySpaced(doc, 1020, doc.count, 1));
        EXPECT_EQ(doc.times[2039], EndOfIntervals + 1019);
        EXPECT_EQ(view.elapsed, EndOfIntervals + 1019);
    }

    CQuolixDoc doc;
    AlwaysAnsweringCounter link;
    FakeWindowServices window;
    CQuolixView view{link};
    CommandRouter router{&view, &doc, nullptr, nullptr};
};

TEST_F(WholeRecordingTest, FromEmptyStoreToFull) {
    StartUp();
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(doc.count, 1);
    ASSERT_EQ(doc.times[0], 0);
    const int32_t startTick = link.received;

    const int64_t expectedTicks = 4 * int64_t{EndOfIntervals + 1019};
    const Run run = RecordUntilFull(expectedTicks + 100);

    EXPECT_EQ(run.ticks, expectedTicks);
    // A decimation at every doubling of the interval, from 2 s to 8192 s, and
    // the view's next interval matching the new spacing until none fits.
    std::vector<int32_t> spacings;
    std::vector<int32_t> intervals;
    for (int32_t spacing = 2; spacing <= 8192; spacing *= 2) {
        spacings.push_back(spacing);
        intervals.push_back(spacing <= 4096 ? spacing : -1);
    }
    EXPECT_EQ(run.spacingsAfterDecimation, spacings);
    EXPECT_EQ(run.intervalsAfterDecimation, intervals);
    ExpectStoppedFull(run);
    EXPECT_TRUE(ReadingsFromTheirOwnTick(doc, startTick));
    EXPECT_EQ(link.sent, 1 + 1 + run.ticks);

    // The timer is stopped; a tick delivered anyway changes nothing stored.
    view.OnTimer(CQuolixView::PollTimerId);
    EXPECT_EQ(doc.count, CQuolixDoc::SampleLimit);
    EXPECT_EQ(doc.times[2039], EndOfIntervals + 1019);
}

// The same ending from a store prepared in the last 4096 s interval.
TEST_F(WholeRecordingTest, FromTheLastIntervalToFull) {
    StartUp();
    for (int32_t i = 0; i < CQuolixDoc::SampleLimit - 1; ++i) {
        doc.times[static_cast<size_t>(i)] = i * 4096;
        doc.readings[static_cast<size_t>(i)] = 0;
    }
    doc.count = CQuolixDoc::SampleLimit - 1;
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(view.elapsed, 2038 * 4096);
    EXPECT_EQ(view.interval, 4096);
    EXPECT_EQ(doc.count, CQuolixDoc::SampleLimit - 1);

    const Run run = RecordUntilFull(int64_t{4} * (2 * 4096 + 1019) + 100);

    EXPECT_EQ(run.ticks, 4 * (2 * 4096 + 1019));
    EXPECT_EQ(run.spacingsAfterDecimation, std::vector<int32_t>{8192});
    EXPECT_EQ(run.intervalsAfterDecimation, std::vector<int32_t>{-1});
    ExpectStoppedFull(run);
}

}  // namespace
}  // namespace quolix
