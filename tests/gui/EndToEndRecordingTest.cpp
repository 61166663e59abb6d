// The real application object and the real serial link against the counter
// simulator on a pseudo-terminal, recording in real time.
#include <cstdlib>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/CQuolixApp.h"
#include "framework/CommandIds.h"
#include "framework/DocumentFile.h"

#ifdef QUOLIX_COUNTER_SIM

namespace quolix::app {
namespace {

TEST(EndToEndRecordingTest, SixSecondsFromTheSimulatorAreSavedAsOneSamplePerSecond) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString linkPath = dir.filePath("com1");
    QProcess simulator;
    // 12.3456 MHz at 100 Hz per count: every reply reads 123456.
    simulator.start(QStringLiteral(QUOLIX_COUNTER_SIM),
                    {QStringLiteral("--link"), linkPath, QStringLiteral("--freq-hz"),
                     QStringLiteral("12345600"), QStringLiteral("--seed"), QStringLiteral("7")});
    ASSERT_TRUE(simulator.waitForStarted(5000));
    QDeadlineTimer linkDeadline(5000);
    while (!QFileInfo::exists(linkPath) && !linkDeadline.hasExpired()) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(QFileInfo::exists(linkPath));
    ASSERT_EQ(::setenv("QUOLIX_COM1", linkPath.toLocal8Bit().constData(), 1), 0);

    QStringList messages;
    CQuolixApp::Options options;
    options.settingsPath = dir.filePath("quolix.ini").toStdString();
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
}

}  // namespace
}  // namespace quolix::app

#endif
