#include "cli/TickScheduler.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include <gtest/gtest.h>

#include "cli/StopSignal.h"

namespace quolix::cli {
namespace {

constexpr int64_t Ms = 1'000'000;

struct AddCase {
    timespec at;
    int64_t ns;
    timespec sum;
};

class TickSchedulerAdd : public ::testing::TestWithParam<AddCase> {};

TEST_P(TickSchedulerAdd, CarriesNanosecondsIntoSeconds) {
    const AddCase& c = GetParam();
    const timespec sum = TickScheduler::Add(c.at, c.ns);
    EXPECT_EQ(sum.tv_sec, c.sum.tv_sec);
    EXPECT_EQ(sum.tv_nsec, c.sum.tv_nsec);
    EXPECT_EQ(TickScheduler::DifferenceNs(sum, c.at), c.ns);
}

INSTANTIATE_TEST_SUITE_P(
    Sums, TickSchedulerAdd,
    ::testing::Values(AddCase{{5, 0}, 250 * Ms, {5, 250'000'000}},
                      AddCase{{5, 900'000'000}, 250 * Ms, {6, 150'000'000}},
                      AddCase{{5, 999'999'999}, 1, {6, 0}},
                      AddCase{{5, 500'000'000}, 3'750'000'000, {9, 250'000'000}},
                      AddCase{{5, 100'000'000}, -200'000'000, {4, 900'000'000}}));

TEST(TickSchedulerTest, DeadlinesStayOnTheGridWhateverTheLateness) {
    TickScheduler ticks(5 * Ms);
    ticks.Start();
    const timespec first = ticks.NextDeadline();
    const volatile sig_atomic_t stop = 0;
    ASSERT_EQ(ticks.WaitForTick(stop), TickScheduler::Wake::Tick);
    // Miss several ticks on purpose: the schedule does not move.
    ::usleep(30'000);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(ticks.WaitForTick(stop), TickScheduler::Wake::Tick);
    }
    EXPECT_EQ(ticks.TicksGiven(), 9);
    EXPECT_EQ(TickScheduler::DifferenceNs(ticks.NextDeadline(), first), 9 * 5 * Ms);
}

TEST(TickSchedulerTest, AStopAlreadyAskedForEndsWithoutATick) {
    TickScheduler ticks(60'000 * Ms);
    ticks.Start();
    const timespec deadline = ticks.NextDeadline();
    const volatile sig_atomic_t stop = 1;
    EXPECT_EQ(ticks.WaitForTick(stop), TickScheduler::Wake::Stop);
    EXPECT_EQ(ticks.TicksGiven(), 0);
    EXPECT_EQ(TickScheduler::DifferenceNs(ticks.NextDeadline(), deadline), 0);
}

// A signal that arrives during a long sleep ends it: the handler is installed
// without SA_RESTART and the wait looks at the flag after every interruption.
TEST(TickSchedulerTest, ASignalDuringTheSleepStops) {
    StopSignal::Clear();
    const StopSignal signals;
    TickScheduler ticks(60'000 * Ms);
    ticks.Start();
    const pthread_t sleeper = pthread_self();
    std::atomic<bool> done{false};
    std::thread sender([&] {
        // Until the sleeper answers: a signal sent before it sleeps is seen
        // at its first look at the flag.
        while (!done.load()) {
            pthread_kill(sleeper, SIGINT);
            ::usleep(20'000);
        }
    });
    const TickScheduler::Wake wake = ticks.WaitForTick(StopSignal::Flag());
    done = true;
    sender.join();
    EXPECT_EQ(wake, TickScheduler::Wake::Stop);
    EXPECT_EQ(ticks.TicksGiven(), 0);
    StopSignal::Clear();
}

TEST(StopSignalTest, TermAndHangUpSetTheFlagAndPipeIsIgnored) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        StopSignal::Clear();
        const StopSignal signals;
        ASSERT_EQ(::raise(signal), 0);
        EXPECT_NE(StopSignal::Flag(), 0) << signal;
    }
    StopSignal::Clear();
    {
        const StopSignal signals;
        // Would end the test program if it were not ignored.
        ASSERT_EQ(::raise(SIGPIPE), 0);
        EXPECT_EQ(StopSignal::Flag(), 0);
    }
}

TEST(StopSignalTest, RestoresThePreviousHandlers) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        const StopSignal signals;
        struct sigaction during {};
        sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
        EXPECT_EQ(during.sa_flags & SA_RESTART, 0);
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace quolix::cli
