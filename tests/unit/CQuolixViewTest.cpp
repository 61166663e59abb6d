#include "acquisition/CQuolixView.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "acquisition/StatusTexts.h"
#include "base/Cp932.h"
#include "framework/CCmdUI.h"
#include "framework/CommandIds.h"
#include "framework/CommandRouter.h"
#include "settings/SettingsStore.h"
#include "unit/FakeCounterLink.h"
#include "unit/FakeWindowServices.h"
#include "unit/SettingsTempDir.h"

namespace quolix {
namespace {

using testing::FakeCounterLink;
using testing::FakeWindowServices;
using TimerCall = FakeWindowServices::TimerCall;

constexpr std::optional<int32_t> NoReply;
// Last sample time from which no sampling interval fits any more.
constexpr int32_t EndOfIntervals = 8'355'840;

// Converts independently of the view's literals, so a wrong byte there shows
// (the conversion itself is pinned by Cp932Test).
std::string ToCp932(const std::string& utf8) {
    return Utf8ToCp932(utf8).value_or("not CP932");
}

class CQuolixViewTest : public ::testing::Test {
  protected:
    CQuolixViewTest() {
        // Never the test executable's own settings file.
        view.SetSettingsLocation(SettingsLocation::Explicit(settingsDir.File("quolix.ini")));
        view.AttachWindow(&window);
        view.AttachDocument(&doc);
    }

    // What the framework does at start-up: create the window, then initialise
    // the new document, which resets the view once more.
    void StartUp() {
        ASSERT_EQ(view.OnCreate(), 0);
        ASSERT_EQ(doc.OnNewDocument(), 1);
    }

    void Tick(std::optional<int32_t> reply) {
        link.script.push_back(reply);
        view.OnTimer(CQuolixView::PollTimerId);
    }

    void Ticks(int n, std::optional<int32_t> reply) {
        for (int i = 0; i < n; ++i) {
            Tick(reply);
        }
    }

    // Fills the store directly, readings 1000 + index.
    void FillStore(int32_t count, int32_t spacing) {
        for (int32_t i = 0; i < count; ++i) {
            doc.times[static_cast<size_t>(i)] = i * spacing;
            doc.readings[static_cast<size_t>(i)] = 1000 + i;
        }
        doc.count = count;
    }

    int32_t TimeAt(int32_t index) const { return doc.times[static_cast<size_t>(index)]; }
    int32_t ReadingAt(int32_t index) const { return doc.readings[static_cast<size_t>(index)]; }

    // Starts up and records until the store is full: 2039 samples after the
    // end of the intervals, so one more second fills it.
    void RecordUntilFull() {
        StartUp();
        FillStore(2039, 4105);
        Tick(1);
        ASSERT_TRUE(router.Execute(ID_DATA_START));
        Ticks(4, 2);
        ASSERT_EQ(view.full, 1);
    }

    testing::SettingsTempDir settingsDir;
    CQuolixDoc doc;
    FakeCounterLink link;
    FakeWindowServices window;
    CQuolixView view{link};
    CommandRouter router{&view, &doc, nullptr, nullptr};
};

// --- construction and creation ---------------------------------------------

TEST_F(CQuolixViewTest, ConstructionStartsFromZero) {
    CQuolixView fresh(link);
    EXPECT_EQ(fresh.printing, 0);
    EXPECT_EQ(fresh.offline, 0);
    EXPECT_EQ(fresh.timerId, 0u);
    EXPECT_EQ(fresh.interval, 0);
    EXPECT_EQ(fresh.tick, 0);
    EXPECT_EQ(fresh.elapsed, 0);
    EXPECT_EQ(fresh.sinceSample, 0);
    EXPECT_EQ(fresh.lastReading, 0);
    EXPECT_EQ(fresh.comments, CQuolixDoc::Comments{});
    EXPECT_EQ(fresh.full, 0);
    EXPECT_EQ(fresh.portOpen, 0);
    EXPECT_EQ(fresh.recording, 0);
    EXPECT_EQ(fresh.fresh, 0);
    EXPECT_EQ(fresh.GetDocument(), nullptr);
    EXPECT_TRUE(link.openedIndices.empty());
}

TEST_F(CQuolixViewTest, CreationLoadsTheSettingsFileAndOpensItsPort) {
    SettingsRecord stored;
    stored.ApplyDefaults();
    stored.Int(SettingsRecord::ComPort) = 2;
    stored.Text(SettingsRecord::Title1) = "bench 3";
    ASSERT_TRUE(SettingsStore(settingsDir.File("quolix.ini")).SaveFrom(stored));
    EXPECT_EQ(view.OnCreate(), 0);
    EXPECT_EQ(view.settings, stored);
    EXPECT_EQ(link.openedIndices, std::vector<int>{2});
}

TEST_F(CQuolixViewTest, CreationOpensThePortAndStartsPolling) {
    EXPECT_EQ(view.OnCreate(), 0);
    SettingsRecord defaults;
    defaults.ApplyDefaults();
    EXPECT_EQ(view.settings, defaults);
    EXPECT_EQ(link.openedIndices, std::vector<int>{defaults.Int(SettingsRecord::ComPort)});
    EXPECT_EQ(view.portOpen, 1);
    EXPECT_EQ(window.timersSet, (std::vector<TimerCall>{{1030, 250}}));
    EXPECT_EQ(view.timerId, 1030u);
    EXPECT_EQ(view.offline, 1);
    EXPECT_EQ(link.sentBytes, std::vector<uint8_t>{0x0D});
    EXPECT_EQ(view.fresh, 0);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(CQuolixViewTest, TimerIdIsWhateverTheWindowReturned) {
    for (uint32_t returned : {7u, 0u}) {
        window.timerResult = returned;
        EXPECT_EQ(view.OnCreate(), 0);
        EXPECT_EQ(view.timerId, returned);
        // A timer that could not be started goes unnoticed.
        EXPECT_EQ(view.portOpen, 1);
        EXPECT_TRUE(window.messages.empty());
    }
}

TEST_F(CQuolixViewTest, CreationCopiesTheDocumentsComments) {
    doc.comments = {"a", "b", "c", "d", "e"};
    view.OnCreate();
    EXPECT_EQ(view.comments, doc.comments);
}

TEST_F(CQuolixViewTest, CreationResetsTheAcquisitionState) {
    view.full = 1;
    view.recording = 1;
    view.tick = 2;
    view.elapsed = 99;
    view.sinceSample = 3;
    view.printing = 1;
    view.lastReading = 1234;
    view.OnCreate();
    EXPECT_EQ(view.full, 0);
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(view.tick, 0);
    EXPECT_EQ(view.elapsed, 0);
    EXPECT_EQ(view.sinceSample, 0);
    EXPECT_EQ(view.printing, 0);
    EXPECT_EQ(view.lastReading, 0);
}

TEST_F(CQuolixViewTest, StartUpLeavesTheViewOnlineUntilTheFirstTickDecides) {
    StartUp();
    EXPECT_EQ(view.offline, 0);
    EXPECT_TRUE(router.IsEnabled(ID_DATA_START));
}

// The timer runs all the same: its ticks try the port again.
TEST_F(CQuolixViewTest, PortFailureShowsOneMessageWithTheReasonAndKeepsTrying) {
    link.openResult = 0;
    EXPECT_EQ(view.OnCreate(), 0);
    EXPECT_EQ(view.portOpen, 0);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              ToCp932("カウンタとの通信に失敗しました。\n"
                      "COM1 /dev/ttyUSB0: デバイスが接続されていません。"));
    EXPECT_EQ(window.messages[0].caption, ToCp932("通信ポート情報"));
    // No tick may reach a window that is still being made.
    EXPECT_EQ(window.timersSetAtLastMessage, 0u);
    EXPECT_EQ(window.timersSet, (std::vector<TimerCall>{{1030, 250}}));
    EXPECT_TRUE(link.sentBytes.empty());
    EXPECT_EQ(view.PortState(), PortKeeper::State::Waiting);
}

// Without a port nothing can answer: the view must not look online, or Start
// would be enabled and record nothing.
TEST_F(CQuolixViewTest, WithoutPortTheViewStaysOfflineAndStartStaysDisabled) {
    link.openResult = 0;
    view.OnCreate();
    EXPECT_EQ(view.offline, 1);
    ASSERT_EQ(doc.OnNewDocument(), 1);
    EXPECT_EQ(view.offline, 1);
    EXPECT_FALSE(router.IsEnabled(ID_DATA_START));
    EXPECT_FALSE(router.Execute(ID_DATA_START));
    EXPECT_EQ(view.recording, 0);
    EXPECT_TRUE(router.IsEnabled(ID_SET_ENVIRONMENT));
    EXPECT_TRUE(router.IsEnabled(ID_EDIT_COMMENT));
}

// --- the tick ----------------------------------------------------------------

TEST_F(CQuolixViewTest, EachTickDecidesOnlineFromItsOwnReply) {
    StartUp();
    struct Step {
        std::optional<int32_t> reply;
        int offline;
        int fresh;
        int32_t lastReading;
    };
    const Step steps[] = {
        {NoReply, 1, 0, 0}, {1234567, 0, 1, 1234567}, {NoReply, 1, 0, 1234567}, {-5, 0, 1, -5},
        {7, 0, 1, 7},       {NoReply, 1, 0, 7},
    };
    for (const Step& step : steps) {
        Tick(step.reply);
        EXPECT_EQ(view.offline, step.offline);
        EXPECT_EQ(view.fresh, step.fresh);
        EXPECT_EQ(view.lastReading, step.lastReading);
    }
}

TEST_F(CQuolixViewTest, EveryTickSendsOneRequestByteRecordingOrNot) {
    StartUp();
    Ticks(3, NoReply);
    Tick(5);
    router.Execute(ID_DATA_START);
    Ticks(5, NoReply);
    Ticks(5, 6);
    EXPECT_EQ(link.sentBytes, std::vector<uint8_t>(1 + 14, 0x0D));
}

TEST_F(CQuolixViewTest, IdleTicksCountNothingAndStoreNothing) {
    StartUp();
    const int invalidations = window.invalidations;
    Ticks(40, 5);
    EXPECT_EQ(view.tick, 0);
    EXPECT_EQ(view.elapsed, 0);
    EXPECT_EQ(view.sinceSample, 0);
    EXPECT_EQ(doc.count, 0);
    EXPECT_EQ(window.invalidations, invalidations);
}

TEST_F(CQuolixViewTest, TheTimerIdentifierOfATickIsNotExamined) {
    StartUp();
    link.script.push_back(42);
    view.OnTimer(12345);
    EXPECT_EQ(view.lastReading, 42);
    EXPECT_EQ(view.offline, 0);
}

// --- start and sampling ------------------------------------------------------

TEST_F(CQuolixViewTest, StartOnEmptyStoreWithFreshReplyStoresTheFirstSampleAtOnce) {
    StartUp();
    Tick(111);
    const int invalidations = window.invalidations;
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(view.recording, 1);
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(TimeAt(0), 0);
    EXPECT_EQ(ReadingAt(0), 111);
    EXPECT_EQ(view.interval, 1);
    EXPECT_EQ(window.invalidations, invalidations + 1);

    Tick(200);
    Tick(201);
    Tick(202);
    EXPECT_EQ(doc.count, 1);
    EXPECT_EQ(view.elapsed, 0);
    Tick(222);
    EXPECT_EQ(view.elapsed, 1);
    ASSERT_EQ(doc.count, 2);
    EXPECT_EQ(TimeAt(1), 1);
    EXPECT_EQ(ReadingAt(1), 222);
    EXPECT_EQ(view.sinceSample, 0);
    EXPECT_EQ(view.interval, 1);
    EXPECT_EQ(window.invalidations, invalidations + 2);
}

TEST_F(CQuolixViewTest, StartBeforeTheFirstTickStoresNothingAtOnce) {
    StartUp();
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(doc.count, 0);
    Ticks(3, 300);
    EXPECT_EQ(doc.count, 0);
    Tick(333);
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(TimeAt(0), 1);
    EXPECT_EQ(ReadingAt(0), 333);
}

TEST_F(CQuolixViewTest, ResumeContinuesFromTheLastStoredSample) {
    StartUp();
    doc.times[0] = 0;
    doc.times[1] = 4996;
    doc.times[2] = 5000;
    doc.count = 3;
    view.elapsed = 5003;  // paused three seconds after the last sample
    Tick(10);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(view.elapsed, 5000);
    EXPECT_EQ(view.interval, 4);
    EXPECT_EQ(doc.count, 3);
    Ticks(15, 11);
    EXPECT_EQ(doc.count, 3);
    EXPECT_EQ(view.elapsed, 5003);
    Tick(77);
    ASSERT_EQ(doc.count, 4);
    EXPECT_EQ(TimeAt(3), 5004);
    EXPECT_EQ(ReadingAt(3), 77);
}

TEST_F(CQuolixViewTest, StartOnASingleSampleStoreAddsAnotherAtTimeZero) {
    StartUp();
    FillStore(1, 0);
    view.elapsed = 0;
    Tick(60);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(doc.count, 2);
    EXPECT_EQ(TimeAt(1), 0);
    EXPECT_EQ(ReadingAt(1), 60);
}

TEST_F(CQuolixViewTest, StartWithoutFreshReplyOnAStoreWithOneSampleAddsNothing) {
    StartUp();
    FillStore(1, 0);
    Tick(NoReply);
    // Offline disables the command; the handler itself still runs when called.
    view.OnDataStart();
    EXPECT_EQ(doc.count, 1);
    EXPECT_EQ(view.recording, 1);
    EXPECT_EQ(view.offline, 1);
}

TEST_F(CQuolixViewTest, AfterTheLastIntervalEverySecondStoresASampleUntilFull) {
    StartUp();
    FillStore(2037, 4105);
    const int32_t last = TimeAt(2036);
    ASSERT_GE(last, EndOfIntervals);
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(view.interval, -1);
    EXPECT_EQ(view.elapsed, last);
    EXPECT_EQ(doc.count, 2037);

    for (int32_t second = 1; second <= 2; ++second) {
        const int invalidations = window.invalidations;
        Ticks(4, 500 + second);
        ASSERT_EQ(doc.count, 2037 + second);
        EXPECT_EQ(TimeAt(2036 + second), last + second);
        EXPECT_EQ(ReadingAt(2036 + second), 500 + second);
        EXPECT_EQ(view.interval, -1);
        EXPECT_EQ(view.full, 0);
        EXPECT_EQ(window.invalidations, invalidations + 1);
    }
    const int invalidations = window.invalidations;
    Ticks(4, 503);
    EXPECT_EQ(doc.count, 2040);
    EXPECT_EQ(TimeAt(2039), last + 3);
    EXPECT_EQ(view.full, 1);
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{1030});
    // The filling second is not followed by a repaint.
    EXPECT_EQ(window.invalidations, invalidations);
}

TEST_F(CQuolixViewTest, ACounterThatStopsAnsweringLosesSamplesAndComesBack) {
    StartUp();
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(doc.count, 1);
    for (int32_t second = 1; second <= 2; ++second) {
        const int invalidations = window.invalidations;
        for (int i = 0; i < 4; ++i) {
            Tick(NoReply);
            EXPECT_EQ(view.offline, 1);
        }
        EXPECT_EQ(view.recording, 1);
        EXPECT_EQ(view.elapsed, second);
        EXPECT_EQ(view.sinceSample, 0);
        EXPECT_EQ(view.interval, 1);
        EXPECT_EQ(doc.count, 1);
        EXPECT_EQ(window.invalidations, invalidations + 1);
    }
    Ticks(4, 99);
    EXPECT_EQ(view.offline, 0);
    ASSERT_EQ(doc.count, 2);
    EXPECT_EQ(TimeAt(1), 3);
    EXPECT_EQ(ReadingAt(1), 99);
}

TEST_F(CQuolixViewTest, AReplyInATickThatDoesNotEndTheIntervalGivesNoSample) {
    StartUp();
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Ticks(3, 5);
    Tick(NoReply);
    EXPECT_EQ(view.elapsed, 1);
    EXPECT_EQ(doc.count, 1);
}

TEST_F(CQuolixViewTest, ASecondThatDoesNotEndTheIntervalGivesNoSample) {
    StartUp();
    doc.times[0] = 0;
    doc.times[1] = 2040;
    doc.count = 2;
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(view.interval, 2);
    Ticks(4, 5);
    EXPECT_EQ(view.elapsed, 2041);
    EXPECT_EQ(view.sinceSample, 1);
    EXPECT_EQ(doc.count, 2);
    Ticks(3, 6);
    Tick(7);
    ASSERT_EQ(doc.count, 3);
    EXPECT_EQ(TimeAt(2), 2042);
    EXPECT_EQ(ReadingAt(2), 7);
}

// Between ticks, a reply counts as fresh only when the tick that parsed it was
// not a recording tick that ended short of a sample, or had its sample taken.
TEST_F(CQuolixViewTest, StartRightAfterATickWithinASecondStoresNothingAtOnce) {
    StartUp();
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Tick(5);
    ASSERT_TRUE(router.Execute(ID_DATA_PAUSE));
    view.OnDataStart();
    EXPECT_EQ(doc.count, 0);
}

TEST_F(CQuolixViewTest, StartRightAfterASampleWasTakenStoresNothingAtOnce) {
    StartUp();
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Ticks(4, 2);
    ASSERT_EQ(doc.count, 2);
    ASSERT_EQ(doc.OnNewDocument(), 1);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_EQ(doc.count, 0);
}

TEST_F(CQuolixViewTest, PauseStopsCountingButNotPolling) {
    StartUp();
    Tick(1);
    router.Execute(ID_DATA_START);
    Ticks(6, 2);
    ASSERT_TRUE(router.Execute(ID_DATA_PAUSE));
    EXPECT_EQ(view.recording, 0);
    const size_t sent = link.sentBytes.size();
    Ticks(8, 3);
    EXPECT_EQ(link.sentBytes.size(), sent + 8);
    EXPECT_EQ(view.elapsed, 1);
    EXPECT_EQ(view.tick, 2);
    EXPECT_EQ(doc.count, 2);
    EXPECT_EQ(view.lastReading, 3);
}

TEST_F(CQuolixViewTest, NewDuringARecordingStopsItAndTheNextStartBeginsAtZero) {
    StartUp();
    Tick(1);
    router.Execute(ID_DATA_START);
    Ticks(9, 2);
    ASSERT_EQ(doc.count, 3);
    ASSERT_EQ(doc.OnNewDocument(), 1);
    EXPECT_EQ(doc.count, 0);
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(view.full, 0);
    EXPECT_EQ(view.tick, 0);
    EXPECT_EQ(view.elapsed, 0);
    EXPECT_EQ(view.sinceSample, 0);
    EXPECT_EQ(view.lastReading, 0);
    EXPECT_EQ(view.offline, 0);
    EXPECT_EQ(view.interval, 1);  // kept until the next Start
    // Polling goes on with the same timer.
    EXPECT_EQ(window.timersSet.size(), 1u);
    EXPECT_TRUE(window.timersKilled.empty());
    const size_t sent = link.sentBytes.size();
    Tick(40);
    EXPECT_EQ(link.sentBytes.size(), sent + 1);
    EXPECT_EQ(doc.count, 0);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(TimeAt(0), 0);
    EXPECT_EQ(ReadingAt(0), 40);
}

// A full store stopped the timer; New must let the counter be polled again,
// or Start would be enabled with no tick to take a sample.
TEST_F(CQuolixViewTest, NewAfterTheStoreFilledStartsPollingAgain) {
    RecordUntilFull();
    EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{1030});
    window.timerResult = 55;
    ASSERT_EQ(doc.OnNewDocument(), 1);
    EXPECT_EQ(view.full, 0);
    EXPECT_EQ(window.timersSet, (std::vector<TimerCall>{{1030, 250}, {1030, 250}}));
    EXPECT_EQ(view.timerId, 55u);
    Tick(70);
    EXPECT_EQ(view.offline, 0);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(TimeAt(0), 0);
    EXPECT_EQ(ReadingAt(0), 70);
    view.OnDestroy();
    EXPECT_EQ(window.timersKilled, (std::vector<uint32_t>{1030, 55}));
}

TEST_F(CQuolixViewTest, ResetWithoutAFullStoreLeavesTheTimerAlone) {
    StartUp();
    view.ResetAcquisition();
    ASSERT_EQ(doc.OnNewDocument(), 1);
    EXPECT_EQ(window.timersSet.size(), 1u);
    EXPECT_TRUE(window.timersKilled.empty());
}

TEST_F(CQuolixViewTest, AResetOfTheStoreResetsTheFirstViewOnlyAndOtherChangesRepaint) {
    StartUp();
    CQuolixView second(link);
    second.AttachWindow(&window);
    second.AttachDocument(&doc);
    view.recording = 1;
    second.recording = 1;
    doc.Reset();
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(second.recording, 1);
    const int invalidations = window.invalidations;
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(second.recording, 1);
    EXPECT_EQ(window.invalidations, invalidations + 2);
}

TEST_F(CQuolixViewTest, WithoutADocumentTicksAndCommandsStoreNothing) {
    CQuolixView lonely(link);
    lonely.AttachWindow(&window);
    EXPECT_EQ(lonely.OnCreate(), 0);
    link.afterScript = 9;
    lonely.OnTimer(CQuolixView::PollTimerId);
    lonely.OnDataStart();
    for (int i = 0; i < 8; ++i) {
        lonely.OnTimer(CQuolixView::PollTimerId);
    }
    EXPECT_EQ(lonely.elapsed, 2);
    EXPECT_EQ(lonely.recording, 1);
    EXPECT_EQ(doc.count, 0);
}

// --- enabling ----------------------------------------------------------------

enum class State {
    IdleOffline,
    IdleOnline,
    Recording,
    RecordingOffline,
    Paused,
    Full,
    NoPort,
    Lost,
    Disconnected
};

struct EnablingCase {
    State state;
    const char* name;
    bool start, pause, settings, connect, disconnect;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const EnablingCase& c, std::ostream* os) {
    *os << c.name;
}

class EnablingTest : public CQuolixViewTest, public ::testing::WithParamInterface<EnablingCase> {
  protected:
    void Enter(State state) {
        switch (state) {
            case State::IdleOffline:
                StartUp();
                Tick(NoReply);
                break;
            case State::IdleOnline:
                StartUp();
                Tick(1);
                break;
            case State::Recording:
                StartUp();
                Tick(1);
                ASSERT_TRUE(router.Execute(ID_DATA_START));
                break;
            case State::RecordingOffline:
                Enter(State::Recording);
                Tick(NoReply);
                break;
            case State::Paused:
                Enter(State::Recording);
                ASSERT_TRUE(router.Execute(ID_DATA_PAUSE));
                break;
            case State::Full:
                RecordUntilFull();
                break;
            case State::NoPort:
                link.openResult = 0;
                StartUp();
                break;
            case State::Lost:
                Enter(State::Recording);
                link.Vanish();
                Tick(NoReply);
                break;
            case State::Disconnected:
                Enter(State::IdleOnline);
                ASSERT_TRUE(router.Execute(ID_PORT_DISCONNECT));
                break;
        }
    }
};

TEST_P(EnablingTest, CommandsAreEnabledAsTheStateAllows) {
    const EnablingCase& c = GetParam();
    Enter(c.state);
    EXPECT_EQ(router.IsEnabled(ID_DATA_START), c.start);
    EXPECT_EQ(router.IsEnabled(ID_DATA_PAUSE), c.pause);
    EXPECT_EQ(router.IsEnabled(ID_SET_ENVIRONMENT), c.settings);
    EXPECT_TRUE(router.IsEnabled(ID_EDIT_COMMENT));
    EXPECT_EQ(router.IsEnabled(ID_PORT_CONNECT), c.connect);
    EXPECT_EQ(router.IsEnabled(ID_PORT_DISCONNECT), c.disconnect);
}

INSTANTIATE_TEST_SUITE_P(
    States, EnablingTest,
    ::testing::Values(
        EnablingCase{State::IdleOffline, "IdleOffline", false, false, true, false, true},
        EnablingCase{State::IdleOnline, "IdleOnline", true, false, true, false, true},
        EnablingCase{State::Recording, "Recording", false, true, false, false, false},
        EnablingCase{State::RecordingOffline, "RecordingOffline", false, true, false, false, false},
        EnablingCase{State::Paused, "Paused", true, false, true, false, true},
        EnablingCase{State::Full, "Full", false, false, true, false, true},
        EnablingCase{State::NoPort, "NoPort", false, false, true, true, false},
        EnablingCase{State::Lost, "Lost", false, true, false, true, false},
        EnablingCase{State::Disconnected, "Disconnected", false, false, true, true, false}),
    [](const ::testing::TestParamInfo<EnablingCase>& info) { return info.param.name; });

TEST_F(CQuolixViewTest, DisabledCommandsAreNotExecuted) {
    StartUp();
    Tick(1);
    EXPECT_FALSE(router.Execute(ID_DATA_PAUSE));
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    EXPECT_FALSE(router.Execute(ID_DATA_START));
    EXPECT_EQ(doc.count, 1);
    EXPECT_FALSE(router.Execute(ID_SET_ENVIRONMENT));
    EXPECT_EQ(window.settingsRuns, 0);
}

TEST_F(CQuolixViewTest, CommandMapHandlesExactlyTheViewsCommands) {
    struct Case {
        uint32_t id;
        bool handled;
        bool hasUpdate;
    };
    const Case cases[] = {
        {ID_DATA_START, true, true},      {ID_DATA_PAUSE, true, true},
        {ID_SET_ENVIRONMENT, true, true}, {ID_EDIT_COMMENT, true, false},
        {ID_PORT_CONNECT, true, true},    {ID_PORT_DISCONNECT, true, true},
        {ID_FILE_NEW, false, false},      {ID_APP_ABOUT, false, false},
    };
    StartUp();
    for (const Case& c : cases) {
        EXPECT_EQ(view.HasCmdHandler(c.id), c.handled) << c.id;
        CCmdUI cmdUI;
        EXPECT_EQ(view.OnUpdateCmdUI(c.id, cmdUI), c.hasUpdate) << c.id;
        EXPECT_EQ(cmdUI.EnableCalled(), c.hasUpdate) << c.id;
        EXPECT_EQ(view.OnCmdMsg(c.id), c.handled) << c.id;
    }
    // The handlers really ran: Start, Pause, then both dialogs.
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(window.settingsRuns, 1);
    EXPECT_EQ(window.commentRuns, 1);
}

// --- dialogs -----------------------------------------------------------------

TEST_F(CQuolixViewTest, SettingsDialogOkTakesOverTheDialogsRecord) {
    StartUp();
    SettingsRecord edited;
    edited.ApplyDefaults();
    edited.Text(SettingsRecord::Title1) = "edited";
    edited.Int(SettingsRecord::DataColour) = 0x0000ff;
    edited.Int(SettingsRecord::ComPort) = 3;
    window.settingsDialogRecord = edited;
    const int invalidations = window.invalidations;
    ASSERT_TRUE(router.Execute(ID_SET_ENVIRONMENT));
    EXPECT_EQ(window.settingsRuns, 1);
    EXPECT_EQ(view.settings, edited);
    EXPECT_EQ(window.invalidations, invalidations + 1);
    // The changed port is used at once: the old one closed, the new one open.
    EXPECT_EQ(link.openedIndices, (std::vector<int>{0, 3}));
    EXPECT_EQ(link.closeCalls, 1);
    EXPECT_EQ(view.PortIndex(), 3);
    EXPECT_EQ(view.portOpen, 1);
    // The same port again changes nothing.
    ASSERT_TRUE(router.Execute(ID_SET_ENVIRONMENT));
    EXPECT_EQ(link.openedIndices, (std::vector<int>{0, 3}));
}

TEST_F(CQuolixViewTest, SettingsDialogCancelKeepsOurRecord) {
    StartUp();
    const SettingsRecord before = view.settings;
    window.settingsDialogRecord.ApplyDefaults();
    window.settingsDialogRecord.Text(SettingsRecord::Title2) = "not taken";
    window.settingsResult = DialogResult::Cancel;
    const int invalidations = window.invalidations;
    ASSERT_TRUE(router.Execute(ID_SET_ENVIRONMENT));
    EXPECT_EQ(window.settingsRuns, 1);
    EXPECT_EQ(view.settings, before);
    EXPECT_EQ(window.invalidations, invalidations + 1);
}

TEST_F(CQuolixViewTest, CommentDialogOkHandsAllFiveLinesToTheDocument) {
    StartUp();
    view.comments = {"a", "b", "c", "view 4", "view 5"};
    doc.comments = {"x", "x", "x", "doc 4", "doc 5"};
    window.commentDialogLines = {"one", "two", "three"};
    const int invalidations = window.invalidations;
    ASSERT_TRUE(router.Execute(ID_EDIT_COMMENT));
    EXPECT_EQ(window.commentSeed, (std::array<std::string, 3>{"a", "b", "c"}));
    const CQuolixDoc::Comments expected = {"one", "two", "three", "view 4", "view 5"};
    EXPECT_EQ(view.comments, expected);
    EXPECT_EQ(doc.comments, expected);
    EXPECT_EQ(window.invalidations, invalidations + 1);
}

TEST_F(CQuolixViewTest, CommentDialogCancelChangesNothing) {
    StartUp();
    view.comments = {"a", "b", "c", "d", "e"};
    doc.comments = {"x", "y", "z", "doc 4", "doc 5"};
    window.commentDialogLines = {"one", "two", "three"};
    window.commentResult = DialogResult::Cancel;
    const int invalidations = window.invalidations;
    ASSERT_TRUE(router.Execute(ID_EDIT_COMMENT));
    EXPECT_EQ(window.commentRuns, 1);
    EXPECT_EQ(view.comments, (CQuolixDoc::Comments{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(doc.comments, (CQuolixDoc::Comments{"x", "y", "z", "doc 4", "doc 5"}));
    EXPECT_EQ(window.invalidations, invalidations + 1);
}

TEST_F(CQuolixViewTest, CommentsCanBeEditedWhileRecording) {
    StartUp();
    Tick(1);
    router.Execute(ID_DATA_START);
    window.commentDialogLines = {"during", "", ""};
    ASSERT_TRUE(router.Execute(ID_EDIT_COMMENT));
    EXPECT_EQ(doc.comments[0], "during");
    EXPECT_EQ(view.recording, 1);
}

// --- what a recording records about itself ------------------------------------

struct StampCase {
    std::string name;
    int32_t storedBefore;  // samples already in the store at Start
    std::string comment4;
    std::string comment5;
    bool written;
};

class RecordingStampTest : public CQuolixViewTest,
                           public ::testing::WithParamInterface<StampCase> {};

TEST_P(RecordingStampTest, OnlyTheFirstSampleOfAStoreWritesAndNothingForeignIsLost) {
    const StampCase& c = GetParam();
    view.SetRecordingOrigin({"COM2", "/dev/ttyUSB0", "quolix 9.9"});
    StartUp();
    FillStore(c.storedBefore, 1);
    doc.comments = {"a", "b", "c", c.comment4, c.comment5};
    view.comments = doc.comments;
    Tick(1234567);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Ticks(4, 1234568);
    if (!c.written) {
        EXPECT_EQ(doc.comments[3], c.comment4);
        EXPECT_EQ(doc.comments[4], c.comment5);
        return;
    }
    EXPECT_TRUE(doc.comments[3].starts_with("QLX1 start=")) << doc.comments[3];
    EXPECT_EQ(doc.comments[4], "QLX1 count=100Hz port=COM2 device=/dev/ttyUSB0 by=quolix 9.9");
    const RecordingMetadata metadata = recordingmeta::Read(doc.comments);
    EXPECT_TRUE(metadata.startKnown);
    EXPECT_EQ(metadata.countHz, 100);
    // The comment dialog hands back the view's copy of the last two lines.
    window.commentDialogLines = {"one", "two", "three"};
    ASSERT_TRUE(router.Execute(ID_EDIT_COMMENT));
    EXPECT_TRUE(recordingmeta::Read(doc.comments).startKnown);
}

TEST_F(CQuolixViewTest, ARecordingOfAnotherUnitIsContinuedOnlyOnceTheViewReadsInIt) {
    StartUp();
    FillStore(3, 1);
    doc.comments[4] = "QLX1 count=1Hz";  // the view reads 100 Hz (resolution 0)
    Tick(5);
    view.OnDataStart();
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(window.messages.size(), 1u);

    window.answer = DialogResult::Ok;
    view.OnDocumentOpened();
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_FALSE(window.statusText.empty());
    EXPECT_EQ(view.settings.Int(SettingsRecord::Resolution), 2);
    Tick(5);
    view.OnDataStart();
    EXPECT_EQ(view.recording, 1);
    EXPECT_EQ(window.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, RecordingStampTest,
    ::testing::Values(StampCase{"NewRecording", 0, "", "", true},
                      StampCase{"OwnOlderTextOnAnEmptyStore", 0, "QLX1 start=2001-01-01T00:00:00Z",
                                "QLX1 count=1Hz", true},
                      StampCase{"ForeignCommentsOnAnEmptyStore", 0,
                                "\x92\x8d\x8e\xdf"
                                "4",
                                "five", false},
                      StampCase{"OneForeignComment", 0, "", "calibrated 2026-01-01", false},
                      StampCase{"ContinuationWithoutText", 3, "", "", false},
                      StampCase{"ContinuationOfAnotherRecording", 3,
                                "QLX1 start=2001-01-01T00:00:00Z", "QLX1 count=100Hz by=quolix 1.0",
                                false}),
    [](const auto& info) { return info.param.name; });

// --- the private receive message and destruction -------------------------------

TEST_F(CQuolixViewTest, ReceiveMessageUpdatesTheReadingButNotOffline) {
    StartUp();
    Tick(NoReply);
    ASSERT_EQ(view.offline, 1);
    const size_t sent = link.sentBytes.size();
    link.script.push_back(42);
    view.OnReceiveMessage();
    EXPECT_EQ(view.lastReading, 42);
    EXPECT_EQ(view.fresh, 1);
    EXPECT_EQ(view.offline, 1);
    EXPECT_EQ(link.sentBytes.size(), sent);

    // Nothing received: nothing changes, fresh included.
    Tick(5);
    ASSERT_EQ(view.offline, 0);
    link.script.push_back(NoReply);
    view.OnReceiveMessage();
    EXPECT_EQ(view.lastReading, 5);
    EXPECT_EQ(view.fresh, 1);
    EXPECT_EQ(view.offline, 0);
}

TEST_F(CQuolixViewTest, AReplyFromTheReceiveMessageMakesStartCountAsOnline) {
    StartUp();
    Tick(NoReply);
    link.script.push_back(31);
    view.OnReceiveMessage();
    ASSERT_EQ(view.offline, 1);
    view.OnDataStart();
    EXPECT_EQ(view.offline, 0);
    ASSERT_EQ(doc.count, 1);
    EXPECT_EQ(ReadingAt(0), 31);
}

TEST_F(CQuolixViewTest, DestroyClosesThePortAndKillsTheTimerOnce) {
    window.timerResult = 9;
    StartUp();
    view.OnDestroy();
    EXPECT_EQ(view.portOpen, 0);
    EXPECT_EQ(link.closeCalls, 1);
    EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{9});
    view.OnDestroy();
    EXPECT_EQ(link.closeCalls, 1);
    EXPECT_EQ(window.timersKilled.size(), 1u);
}

// The timer ran for the tries to open the port; it stops with the view.
TEST_F(CQuolixViewTest, DestroyWithoutPortClosesNothingAndStopsTheTimer) {
    link.openResult = 0;
    StartUp();
    view.OnDestroy();
    EXPECT_EQ(link.closeCalls, 0);
    EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{1030});
}

}  // namespace
}  // namespace quolix

namespace quolix {
namespace {

// The view's drawing as the host sees it: a paint, and the readout that each
// tick draws through a device context of its own.
class CQuolixViewDrawingTest : public CQuolixViewTest {
  protected:
    CQuolixViewDrawingTest() { window.provideDc = true; }

    std::vector<std::string> Texts(const RecordingDeviceContext& dc) const {
        std::vector<std::string> texts;
        for (const DrawCall& call : dc.Calls()) {
            if (call.kind == DrawCall::Kind::TextOut) {
                texts.push_back(call.text);
            }
        }
        return texts;
    }
};

TEST_F(CQuolixViewDrawingTest, EveryTickRedrawsTheReadoutAtTheViewsResolution) {
    StartUp();
    view.settings.Int(SettingsRecord::Resolution) = 2;
    window.windowRect = Rect{0, 0, 600, 480};
    Tick(1234567);
    const std::vector<std::string> texts = Texts(window.clientDc);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "   1,234.567kHz          ");
    EXPECT_EQ(window.clientDc.Calls()[1].x, 10);  // after the large font's selection
    EXPECT_EQ(window.clientDc.Calls()[1].y, 10);

    window.clientDc.Clear();
    Tick(NoReply);
    EXPECT_EQ(Texts(window.clientDc).at(0), "    OFF LINE         ");
}

TEST_F(CQuolixViewDrawingTest, NothingIsDrawnOutsideThePaintWhilePrinting) {
    StartUp();
    view.OnBeginPrinting();
    Tick(1234567);
    EXPECT_EQ(window.dcRequests, 0);
    EXPECT_TRUE(window.clientDc.Calls().empty());
    view.OnEndPrinting();
    Tick(1234567);
    EXPECT_EQ(window.dcRequests, 1);
}

TEST_F(CQuolixViewDrawingTest, APaintTakesTheDocumentsCommentsAndDrawsTheGraph) {
    StartUp();
    doc.Append(0, 100000);
    doc.Append(1, 100010);
    doc.comments = {"c1", "c2", "c3", "c4", "c5"};
    RecordingDeviceContext paint;
    view.OnDraw(paint);
    EXPECT_EQ(view.comments, doc.comments);
    const std::vector<std::string> texts = Texts(paint);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "c3"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Quolix Frequency Counter"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Center Frequency=   10,000.0kHz "),
              texts.end());
    // The readout of the paint is drawn into the paint itself.
    EXPECT_EQ(window.dcRequests, 0);
    EXPECT_TRUE(window.clientDc.Calls().empty());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "          0.0kHz          "), texts.end());
}

TEST_F(CQuolixViewDrawingTest, FrequencyTextFollowsTheResolutionSlot) {
    view.settings.ApplyDefaults();
    EXPECT_EQ(view.FormatFrequency(1234567), "  123,456.7");
    view.settings.Int(SettingsRecord::Resolution) = 1;
    EXPECT_EQ(view.FormatFrequency(1234567), " 12,345.67");
}

// --- the link lost and back -------------------------------------------------

// The counter vanishes for 3 s during a recording and comes back: the port is
// closed at once, tried again once a second, and sampling resumes with the
// running elapsed, leaving a gap and no sample from the time it was away.
TEST_F(CQuolixViewTest, AVanishedCounterIsReopenedAndSamplingResumes) {
    StartUp();
    Tick(100);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Ticks(8, 101);
    ASSERT_EQ(doc.count, 3);
    // Ticks while the port is closed ask the link for nothing, so the
    // replies come from afterScript, not from a script they would not use.
    const auto idle = [this](int n) {
        for (int i = 0; i < n; ++i) {
            view.OnTimer(CQuolixView::PollTimerId);
        }
    };
    link.Vanish();
    link.openResult = 0;
    link.afterScript = 102;
    idle(1);
    EXPECT_EQ(view.portOpen, 0);
    EXPECT_EQ(view.offline, 1);
    EXPECT_EQ(view.PortState(), PortKeeper::State::Waiting);
    EXPECT_EQ(StatusTexts::Of(view).link, "再接続待ち");
    const size_t sentBefore = link.sentBytes.size();
    idle(11);
    // One try per second, nothing sent to a closed port.
    EXPECT_EQ(link.openedIndices, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(link.sentBytes.size(), sentBefore);
    EXPECT_EQ(doc.count, 3);
    link.openResult = 1;
    link.afterScript = 103;
    idle(4);
    EXPECT_EQ(view.portOpen, 1);
    EXPECT_EQ(view.offline, 0);
    EXPECT_EQ(view.recording, 1);
    idle(4);
    ASSERT_EQ(doc.count, 5);
    EXPECT_EQ(TimeAt(2), 2);
    EXPECT_EQ(TimeAt(3), 6);
    EXPECT_EQ(ReadingAt(3), 103);
    EXPECT_EQ(TimeAt(4), 7);
}

TEST_F(CQuolixViewTest, DisconnectStopsRetryingUntilConnect) {
    StartUp();
    Tick(1);
    ASSERT_TRUE(router.Execute(ID_PORT_DISCONNECT));
    EXPECT_EQ(link.closeCalls, 1);
    EXPECT_EQ(view.portOpen, 0);
    EXPECT_EQ(StatusTexts::Of(view).link, "切断");
    Ticks(8, 1);
    EXPECT_EQ(link.openedIndices, std::vector<int>{0});
    EXPECT_EQ(view.offline, 1);
    // Connect takes the port of the current settings.
    view.settings.Int(SettingsRecord::ComPort) = 2;
    ASSERT_TRUE(router.Execute(ID_PORT_CONNECT));
    EXPECT_EQ(link.openedIndices, (std::vector<int>{0, 2}));
    Tick(5);
    EXPECT_EQ(StatusTexts::Of(view).link, "接続中");
    EXPECT_EQ(StatusTexts::Of(view).port, "COM3 /dev/ttyUSB2");
    // A failing Connect says why and keeps trying.
    ASSERT_TRUE(router.Execute(ID_PORT_DISCONNECT));
    link.openResult = 0;
    link.openError = 13;  // EACCES
    ASSERT_TRUE(router.Execute(ID_PORT_CONNECT));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].text.find("dialout"), std::string::npos);
    Ticks(4, NoReply);
    EXPECT_EQ(link.openedIndices.size(), 4u);
}

TEST_F(CQuolixViewTest, StatusTextsShowTheRecording) {
    StartUp();
    Tick(1);
    EXPECT_EQ(StatusTexts::Of(view), (StatusTexts{"COM1 /dev/ttyUSB0", "接続中", "", "", ""}));
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    view.elapsed = 90061;
    Tick(NoReply);
    EXPECT_EQ(StatusTexts::Of(view),
              (StatusTexts{"COM1 /dev/ttyUSB0", "応答なし", "1日 01:01:01", "間隔 1 秒", "1 点"}));
}

// A continued recording whose time is at the end of the 32-bit range stops
// like a full store instead of overflowing elapsed.
TEST_F(CQuolixViewTest, TheEndOfTheTimeRangeStopsLikeAFullStore) {
    StartUp();
    doc.times[0] = std::numeric_limits<int32_t>::max() - 2;
    doc.times[1] = std::numeric_limits<int32_t>::max() - 1;
    doc.readings[0] = doc.readings[1] = 5;
    doc.count = 2;
    Tick(5);
    ASSERT_TRUE(router.Execute(ID_DATA_START));
    Ticks(8, 6);
    EXPECT_EQ(view.elapsed, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(view.full, 1);
    EXPECT_EQ(view.recording, 0);
    EXPECT_EQ(doc.count, 3);
    EXPECT_EQ(window.timersKilled, std::vector<uint32_t>{1030});
}

}  // namespace
}  // namespace quolix
