// The real application object and the real serial link against the counter
// simulator on a pseudo-terminal, recording in real time.
#include <cstdlib>
#include <functional>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "acquisition/RecordingMetadata.h"
#include "app/CQuolixApp.h"
#include "framework/CommandIds.h"
#include "framework/DocumentFile.h"
#include "framework/RecoveryFile.h"
#include "unit/FakeCounterLink.h"

#ifdef QUOLIX_COUNTER_SIM

namespace quolix::app {
namespace {

// 12.3456 MHz at 100 Hz per count: every reply reads 123456.
void StartSimulator(QProcess& simulator, const QString& linkPath, QStringList more = {}) {
    simulator.start(
        QStringLiteral(QUOLIX_COUNTER_SIM),
        QStringList{QStringLiteral("--link"), linkPath, QStringLiteral("--freq-hz"),
                    QStringLiteral("12345600"), QStringLiteral("--seed"), QStringLiteral("7")} +
            more);
    ASSERT_TRUE(simulator.waitForStarted(5000));
    QDeadlineTimer linkDeadline(5000);
    while (!QFileInfo::exists(linkPath) && !linkDeadline.hasExpired()) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(QFileInfo::exists(linkPath));
    // Its first "LINK -> SLAVE" line, so that only a later one is seen next.
    simulator.waitForReadyRead(5000);
    simulator.readAllStandardOutput();
    ASSERT_EQ(::setenv("QUOLIX_COM1", linkPath.toLocal8Bit().constData(), 1), 0);
}

// Waits, a bounded time, until the condition holds; it is asked once a turn,
// so it may act (run a command) when it holds.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

TEST(EndToEndRecordingTest, SixSecondsFromTheSimulatorAreSavedAsOneSamplePerSecond) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString linkPath = dir.filePath("com1");
    QProcess simulator;
    StartSimulator(simulator, linkPath);

    QStringList messages;
    CQuolixApp::Options options;
    options.settings = SettingsLocation::Explicit(dir.filePath("quolix.ini").toStdString());
    options.messages = [&messages](const QString& text, const QString&) { messages.append(text); };
    {
        CQuolixApp app(std::move(options));
        ASSERT_FALSE(app.InitInstance({}).has_value());
        ASSERT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

        // Start is enabled once the counter has answered a poll.
        QDeadlineTimer startDeadline(5000);
        bool started = false;
        while (!started && !startDeadline.hasExpired()) {
            QTest::qWait(50);
            started = app.View().offline == 0 && app.View().fresh == 1 &&
                      app.ExecuteCommand(ID_DATA_START);
        }
        ASSERT_TRUE(started);
        QTest::qWait(6300);
        ASSERT_TRUE(app.SaveDocumentAs(dir.filePath("run.qlx")));
    }
    ::unsetenv("QUOLIX_COM1");
    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(5000));

    CQuolixDoc loaded;
    const Status opened = docfile::Open(loaded, dir.filePath("run.qlx").toStdString());
    ASSERT_TRUE(opened.ok);
    // Seven samples (0 to 6 s) on time; ticks delivered late on a busy machine
    // (the sanitizer build) stretch the seconds, so allow two fewer.
    ASSERT_GE(loaded.count, 5);
    ASSERT_LE(loaded.count, 8);
    for (int32_t i = 0; i < loaded.count; ++i) {
        EXPECT_EQ(loaded.times[static_cast<size_t>(i)], i);
        EXPECT_EQ(loaded.readings[static_cast<size_t>(i)], 123456);
    }
    // The recording says when it started and what a count is.
    EXPECT_TRUE(recordingmeta::Read(loaded.comments).startKnown) << loaded.comments[3];
    EXPECT_TRUE(loaded.comments[4].starts_with(
        "QLX1 count=100Hz port=COM1 device=" + linkPath.toStdString() + " by=quolix "))
        << loaded.comments[4];
}

#ifdef QUOLIX_APP

// The application recording from the simulator is killed; the next start
// offers what it had stored, and yes brings every sample back.
TEST(EndToEndRecordingTest, AKilledRecordingIsOfferedAndRestoredAtTheNextStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString linkPath = dir.filePath("com1");
    QProcess simulator;
    simulator.start(QStringLiteral(QUOLIX_COUNTER_SIM),
                    {QStringLiteral("--link"), linkPath, QStringLiteral("--freq-hz"),
                     QStringLiteral("12345600"), QStringLiteral("--seed"), QStringLiteral("7")});
    ASSERT_TRUE(simulator.waitForStarted(5000));
    QDeadlineTimer linkDeadline(5000);
    while (!QFileInfo::exists(linkPath) && !linkDeadline.hasExpired()) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(QFileInfo::exists(linkPath));

    // The demo starts recording by itself; it is killed long before its end.
    QProcess quolix;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUOLIX_COM1"), linkPath);
    environment.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath("state"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    quolix.setProcessEnvironment(environment);
    quolix.start(QStringLiteral(QUOLIX_APP),
                 {QStringLiteral("--demo"), QStringLiteral("600"), dir.filePath("demo")});
    ASSERT_TRUE(quolix.waitForStarted(5000));
    const std::string folder = dir.filePath("state/quolix").toStdString();
    const std::string copy = folder + "/recovery-" + std::to_string(quolix.processId()) + ".qlx";
    QDeadlineTimer recordDeadline(20000);
    CQuolixDoc seen;
    while (!(RecoveryFile::Open(seen, copy).ok && seen.count >= 3) &&
           !recordDeadline.hasExpired()) {
        QTest::qWait(100);
    }
    ASSERT_GE(seen.count, 3);
    quolix.kill();
    ASSERT_TRUE(quolix.waitForFinished(5000));
    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(5000));
    CQuolixDoc left;
    ASSERT_TRUE(RecoveryFile::Open(left, copy).ok);

    QStringList questions;
    QStringList messages;
    testing::FakeCounterLink link;
    CQuolixApp::Options options;
    options.settings = SettingsLocation::Explicit(dir.filePath("quolix.ini").toStdString());
    options.link = &link;
    options.recoveryFolder = folder;
    options.messages = [&messages](const QString& text, const QString&) { messages.append(text); };
    options.questions = [&questions](const QString& text, const QString&,
                                     QMessageBox::StandardButtons) {
        questions.append(text);
        return QMessageBox::Yes;
    };
    {
        CQuolixApp app(std::move(options));
        ASSERT_FALSE(app.InitInstance({}).has_value());
        ASSERT_EQ(questions.size(), 1);
        EXPECT_TRUE(questions[0].contains(QStringLiteral("サンプル数: %1").arg(left.count)));
        // Two instances never share a copy.
        EXPECT_NE(app.Recovery().Path(), copy);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(copy)));
        const CQuolixDoc& doc = app.Document();
        ASSERT_EQ(doc.count, left.count);
        for (int32_t i = 0; i < doc.count; ++i) {
            const auto at = static_cast<size_t>(i);
            EXPECT_EQ(doc.times[at], left.times[at]);
            EXPECT_EQ(doc.readings[at], 123456);
        }
    }
    EXPECT_TRUE(QDir(QString::fromStdString(folder)).isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

#endif

// The counter vanishes for 2 s, 8 s after its start, during a recording and comes back on the same
// path: the view notices, reopens the port, shows the reading again and
// resumes sampling; nothing is stored while it was away.
TEST(EndToEndRecordingTest, AVanishedCounterComesBackIntoTheSameRecording) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString linkPath = dir.filePath("com1");
    QProcess simulator;
    StartSimulator(simulator, linkPath,
                   {QStringLiteral("--vanish-at"), QStringLiteral("8"),
                    QStringLiteral("--vanish-for"), QStringLiteral("2")});
    CQuolixApp::Options options;
    options.settings = SettingsLocation::Explicit(dir.filePath("quolix.ini").toStdString());
    options.recoveryFolder = dir.filePath("state").toStdString();
    options.messages = [](const QString&, const QString&) {};
    // The recording is not saved when the test ends.
    options.questions = [](const QString&, const QString&, QMessageBox::StandardButtons) {
        return QMessageBox::No;
    };
    CQuolixApp app(std::move(options));
    ASSERT_FALSE(app.InitInstance({}).has_value());
    CQuolixView& view = app.View();
    ASSERT_TRUE(WaitFor([&] { return view.offline == 0 && app.ExecuteCommand(ID_DATA_START); }));
    ASSERT_TRUE(WaitFor([&] { return view.PortState() == PortKeeper::State::Waiting; }, 15000));
    EXPECT_EQ(view.portOpen, 0);
    EXPECT_EQ(view.offline, 1);
    EXPECT_FALSE(app.ExecuteCommand(ID_PORT_DISCONNECT));
    const int32_t before = app.Document().count;
    ASSERT_TRUE(WaitFor([&] { return simulator.readAllStandardOutput().contains("->"); }));
    ASSERT_TRUE(WaitFor([&] { return view.offline == 0; }));
    EXPECT_EQ(view.lastReading, 123456);
    const int32_t back = view.elapsed;
    ASSERT_TRUE(WaitFor([&] { return app.Document().count >= before + 2; }));
    ::unsetenv("QUOLIX_COM1");
    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(5000));

    const CQuolixDoc& doc = app.Document();
    int gaps = 0;
    for (int32_t i = 1; i < doc.count; ++i) {
        const auto at = static_cast<size_t>(i);
        gaps += doc.times[at] - doc.times[at - 1] > 1 ? 1 : 0;
        EXPECT_EQ(doc.readings[at], 123456);
    }
    EXPECT_EQ(gaps, 1);
    EXPECT_GE(doc.times[static_cast<size_t>(doc.count - 1)], back);
}

}  // namespace
}  // namespace quolix::app

#endif
