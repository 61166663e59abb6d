#include <fstream>

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/CMainFrame.h"
#include "app/CQuolixApp.h"
#include "app/MainFrameUi.h"
#include "framework/CommandIds.h"
#include "framework/qt/QtViewHost.h"
#include "settings/SettingsStore.h"
#include "unit/FakeCounterLink.h"

namespace quolix::app {
namespace {

using testing::FakeCounterLink;

// The application on a scripted counter and a settings file of its own;
// messages are collected instead of shown.
class QuolixAppTest : public ::testing::Test {
  protected:
    QuolixAppTest() {
        link.afterScript = 100000;
        // Each test starts with an empty recent-file list (kept in test mode).
        QSettings("Local AppWizard-Generated Applications", "Quolix").remove("Recent File List");
    }

    std::string SettingsPath() const { return dir.filePath("quolix.ini").toStdString(); }

    std::unique_ptr<CQuolixApp> Start(const std::vector<std::string>& arguments = {}) {
        CQuolixApp::Options options;
        options.settingsPath = SettingsPath();
        options.link = &link;
        options.messages = [this](const QString& text, const QString&) { messages.append(text); };
        auto app = std::make_unique<CQuolixApp>(std::move(options));
        status = app->InitInstance(arguments);
        return app;
    }

    SettingsRecord StoredSettings() const {
        SettingsRecord record;
        SettingsStore(SettingsPath()).LoadInto(record);
        return record;
    }

    static bool Enabled(CQuolixApp& app, uint32_t id) {
        return app.Frame().Ui().Action(id)->isEnabled();
    }

    static void Ticks(CQuolixApp& app, int n) {
        for (int i = 0; i < n; ++i) {
            app.View().OnTimer(CQuolixView::PollTimerId);
        }
        app.UpdateCommandStates();
    }

    QTemporaryDir dir;
    FakeCounterLink link;
    QStringList messages;
    std::optional<int> status;
};

TEST_F(QuolixAppTest, StartsWithANewDocumentAtTheDefaultPlace) {
    auto app = Start();
    EXPECT_FALSE(status.has_value());
    EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("無題 - Quolix"));
    EXPECT_EQ(app->Frame().geometry(), QRect(44, 44, 656, 506));
    EXPECT_EQ(link.openedIndices, std::vector<int>{0});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(QuolixAppTest, CommandsFollowARecordingFromIdleToFullAndNew) {
    auto app = Start();
    Ticks(*app, 1);
    EXPECT_TRUE(Enabled(*app, ID_DATA_START));
    EXPECT_FALSE(Enabled(*app, ID_DATA_PAUSE));
    EXPECT_TRUE(Enabled(*app, ID_SET_ENVIRONMENT));
    EXPECT_FALSE(Enabled(*app, ID_PORT_CONNECT));
    EXPECT_FALSE(Enabled(*app, ID_PORT_DISCONNECT));

    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
    EXPECT_FALSE(Enabled(*app, ID_DATA_START));
    EXPECT_TRUE(Enabled(*app, ID_DATA_PAUSE));
    EXPECT_FALSE(Enabled(*app, ID_SET_ENVIRONMENT));
    EXPECT_TRUE(Enabled(*app, ID_EDIT_COMMENT));

    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_PAUSE));
    EXPECT_TRUE(Enabled(*app, ID_DATA_START));
    EXPECT_FALSE(Enabled(*app, ID_DATA_PAUSE));

    // A store one sample short of full, past the last interval: the next
    // whole second fills it.
    CQuolixDoc& doc = app->Document();
    doc.count = 0;
    for (int32_t i = 0; i < CQuolixDoc::SampleLimit - 1; ++i) {
        doc.times[static_cast<size_t>(i)] = 8'355'840 + i;
        doc.readings[static_cast<size_t>(i)] = 100000;
    }
    doc.count = CQuolixDoc::SampleLimit - 1;
    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
    Ticks(*app, 4);
    EXPECT_EQ(app->View().full, 1);
    EXPECT_FALSE(Enabled(*app, ID_DATA_START));
    EXPECT_FALSE(Enabled(*app, ID_DATA_PAUSE));
    EXPECT_TRUE(Enabled(*app, ID_SET_ENVIRONMENT));

    ASSERT_TRUE(app->ExecuteCommand(ID_FILE_NEW));
    EXPECT_EQ(app->Document().count, 0);
    Ticks(*app, 1);
    EXPECT_TRUE(Enabled(*app, ID_DATA_START));
    EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("無題 - Quolix"));
}

TEST_F(QuolixAppTest, WindowPlacementIsStoredAtExitAndUsedAtTheNextStart) {
    {
        auto app = Start();
        app->Frame().setGeometry(100, 120, 500, 400);
        app->Frame().close();
    }
    SettingsRecord stored = StoredSettings();
    EXPECT_EQ(stored.Int(SettingsRecord::WindowLeft), 100);
    EXPECT_EQ(stored.Int(SettingsRecord::WindowTop), 120);
    EXPECT_EQ(stored.Int(SettingsRecord::WindowRight), 600);
    EXPECT_EQ(stored.Int(SettingsRecord::WindowBottom), 520);
    EXPECT_EQ(stored.Int(SettingsRecord::ShowState), 1);
    {
        auto app = Start();
        EXPECT_EQ(app->Frame().geometry(), QRect(100, 120, 500, 400));
        app->Frame().showMaximized();
        app->Frame().close();
    }
    stored = StoredSettings();
    EXPECT_EQ(stored.Int(SettingsRecord::ShowState), 3);
    EXPECT_EQ(stored.Int(SettingsRecord::WindowLeft), 100);
    auto app = Start();
    EXPECT_TRUE(app->Frame().isMaximized());
}

TEST_F(QuolixAppTest, ARectangleOnNoScreenGivesTheDefaultOne) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Int(SettingsRecord::WindowLeft) = 5000;
    record.Int(SettingsRecord::WindowTop) = 5000;
    record.Int(SettingsRecord::WindowRight) = 5600;
    record.Int(SettingsRecord::WindowBottom) = 5500;
    record.Text(SettingsRecord::Title1) = "kept";
    ASSERT_TRUE(SettingsStore(SettingsPath()).SaveFrom(record));
    auto app = Start();
    EXPECT_EQ(app->Frame().geometry(), QRect(44, 44, 656, 506));
    // The rest of the settings file still counts.
    EXPECT_EQ(app->View().settings.Text(SettingsRecord::Title1), "kept");
}

TEST(MainFramePlacementTest, StoredRectangleMustOverlapAScreenUsefully) {
    SettingsRecord record;
    record.ApplyDefaults();
    const std::vector<Rect> screens{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    const Rect defaults{44, 44, 700, 550};
    record.Int(SettingsRecord::WindowLeft) = 2000;
    record.Int(SettingsRecord::WindowRight) = 2600;
    EXPECT_EQ(CMainFrame::PlacementFor(record, screens), (Rect{2000, 44, 2600, 550}));
    // Only a 20-pixel sliver of the second screen: out of reach.
    record.Int(SettingsRecord::WindowLeft) = 3180;
    record.Int(SettingsRecord::WindowRight) = 3800;
    EXPECT_EQ(CMainFrame::PlacementFor(record, screens), defaults);
    // An empty or inverted rectangle.
    record.Int(SettingsRecord::WindowLeft) = 500;
    record.Int(SettingsRecord::WindowRight) = 400;
    EXPECT_EQ(CMainFrame::PlacementFor(record, screens), defaults);
    EXPECT_EQ(CMainFrame::PlacementFor(record, {}), defaults);
}

TEST_F(QuolixAppTest, ADocumentSavedAndReopenedThroughTheCommandsComesBack) {
    auto app = Start();
    CQuolixDoc& doc = app->Document();
    doc.Append(0, 100000);
    doc.Append(1, 100003);
    doc.comments[0] = "run 1";
    const QString path = dir.filePath("run.qlx");
    ASSERT_TRUE(app->SaveDocumentAs(path));
    EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("run.qlx - Quolix"));
    ASSERT_TRUE(app->ExecuteCommand(ID_FILE_NEW));
    EXPECT_EQ(doc.count, 0);
    ASSERT_TRUE(app->OpenDocumentFile(path));
    EXPECT_EQ(doc.count, 2);
    EXPECT_EQ(doc.readings[1], 100003);
    EXPECT_EQ(doc.comments[0], "run 1");
    EXPECT_EQ(app->RecentFiles().Files().value(0), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(app->Frame().RecentFileActions().size(), 1u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(QuolixAppTest, AForeignFileIsRefusedAndTheDocumentKeepsItsName) {
    auto app = Start();
    app->Document().Append(0, 5);
    const QString mine = dir.filePath("mine.qlx");
    ASSERT_TRUE(app->SaveDocumentAs(mine));
    const QString foreign = dir.filePath("foreign.qlx");
    {
        std::ofstream out(foreign.toStdString(), std::ios::binary);
        out << "\x0dNotQuolix V1.0 and then some bytes";
    }
    EXPECT_FALSE(app->OpenDocumentFile(foreign));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("foreign.qlx")));
    EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("mine.qlx - Quolix"));
    EXPECT_EQ(app->Document().count, 1);
    EXPECT_EQ(app->Document().GetPathName(), mine.toStdString());
}

TEST_F(QuolixAppTest, AFileThatCannotBeOpenedEndsStartUpWithAMessage) {
    const std::string missing = dir.filePath("missing.qlx").toStdString();
    auto app = Start({missing});
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.qlx")));
}

TEST_F(QuolixAppTest, BadArgumentsEndStartUp) {
    auto app = Start({"--print"});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 2);
}

TEST_F(QuolixAppTest, PrintingToPdfGivesOnePageWithTheLabels) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Text(SettingsRecord::Title1) = "Oven OCXO 7";
    ASSERT_TRUE(SettingsStore(SettingsPath()).SaveFrom(record));
    auto app = Start();
    CQuolixDoc& doc = app->Document();
    doc.Append(0, 100000);
    doc.Append(1, 100012);
    doc.Append(2, 99995);
    doc.comments = {"first comment", "second comment", "third comment", "", ""};

    const QString pdf = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(app->PrintTo(printer));
    EXPECT_EQ(app->View().printing, 0);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(10000)) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* expected : {"Oven OCXO 7", "( Frequency Data Logger )", "Center Frequency=",
                                 "first comment", "second comment", "third comment"}) {
        EXPECT_TRUE(content.contains(QString::fromUtf8(expected))) << expected;
    }
}

}  // namespace
}  // namespace quolix::app
