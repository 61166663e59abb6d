#include <fstream>
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "app/CMainFrame.h"
#include "app/CQuolixApp.h"
#include "app/MainFrameUi.h"
#include "framework/CommandIds.h"
#include "framework/DocumentFile.h"
#include "framework/qt/PrintDestination.h"
#include "framework/qt/QtDeviceContext.h"
#include "framework/qt/QtViewHost.h"
#include "graph/LocalClock.h"
#include "graph/PageLayout.h"
#include "settings/SettingsStore.h"
#include "settings/dialog/CSettingsDlg.h"
#include "support/PageFrame.h"
#include "unit/FakeCounterLink.h"
#include "unit/SettingsTempDir.h"

namespace quolix::app {
namespace {

using testing::FakeCounterLink;
using testing::PageFrame;

// A print spooler as a test tells it: its paper, and its answers before and
// after a job.
class FakeDestination : public PrintDestination {
  public:
    QPageSize paper;
    Status ready;
    Status took;
    mutable int jobs = 0;

    QPageSize DefaultPageSize(const QPrinter&) const override { return paper; }
    Status Ready(const QPrinter&) const override { return ready; }
    Status TookJob(const QPrinter&) const override {
        ++jobs;
        return took;
    }
};

// Runs the action once the next modal dialog's event loop is running; the
// timer goes with the test, so a dialog that never opens cannot be acted on
// by a later test.
class WhenModal {
  public:
    explicit WhenModal(std::function<void(QWidget*)> action) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [action = std::move(action)] {
            action(QApplication::activeModalWidget());
        });
        timer_.start(0);
    }

  private:
    QTimer timer_;
};

// A PDF's text (pdftotext) or its description (pdfinfo).
QString PdfTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << tool.toStdString() << " (poppler-utils) is needed";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page of a PDF at 300 dpi (pdftoppm).
QImage PdfPage(const QString& pdf) {
    const QString prefix = pdf + QStringLiteral("-page");
    PdfTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

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
    std::string RecoveryFolder() const { return dir.filePath("state").toStdString(); }

    std::unique_ptr<CQuolixApp> Start(const std::vector<std::string>& arguments = {},
                                      QPrinter* printer = nullptr) {
        CQuolixApp::Options options;
        options.settings = SettingsLocation::Explicit(SettingsPath());
        options.link = &link;
        options.messages = [this](const QString& text, const QString&) { messages.append(text); };
        options.questions = [this](const QString& text, const QString&,
                                   QMessageBox::StandardButtons) {
            questions.append(text);
            return answer;
        };
        options.recoveryFolder = RecoveryFolder();
        options.printer = printer;
        options.printDestination = &destination;
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

    // The first row of the window's picture below the readout's, whose clock
    // may turn between two pictures.
    static int BelowReadout(QtViewHost& host) {
        const PageLayout layout(0, host.GetWindowRect());
        return layout.MapY(1000) - FontPixelHeight(layout.BaseFontSize(), ScreenDpiY()) * 12 / 10;
    }

    static void Ticks(CQuolixApp& app, int n) {
        for (int i = 0; i < n; ++i) {
            app.View().OnTimer(CQuolixView::PollTimerId);
        }
        app.UpdateCommandStates();
    }

    // A settings file of a user who left the program maximised; a frame
    // that was never shown must leave it as it is.
    std::string WriteMaximisedSettings() {
        SettingsRecord record;
        record.ApplyDefaults();
        record.Int(SettingsRecord::WindowLeft) = 100;
        record.Int(SettingsRecord::WindowTop) = 120;
        record.Int(SettingsRecord::WindowRight) = 600;
        record.Int(SettingsRecord::WindowBottom) = 520;
        record.Int(SettingsRecord::ShowState) = SettingsRecord::ShowMaximized;
        EXPECT_TRUE(SettingsStore(SettingsPath()).SaveFrom(record));
        return SettingsBytes();
    }

    std::string SettingsBytes() const {
        QFile file(QString::fromStdString(SettingsPath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // A saved recording with few deviation divisions.
    std::string SaveRun() {
        const std::string path = dir.filePath("run.qlx").toStdString();
        auto app = Start();
        CQuolixDoc& doc = app->Document();
        doc.Append(0, 100000);
        doc.Append(10, 100004);
        doc.Append(20, 99997);
        EXPECT_TRUE(app->SaveDocumentAs(QString::fromStdString(path)));
        return path;
    }

    QTemporaryDir dir;
    FakeCounterLink link;
    FakeDestination destination;
    QStringList messages;
    QStringList questions;
    // Until a test says otherwise, unsaved samples are let go, as before.
    QMessageBox::StandardButton answer = QMessageBox::No;
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
    EXPECT_TRUE(Enabled(*app, ID_PORT_DISCONNECT));

    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
    EXPECT_FALSE(Enabled(*app, ID_DATA_START));
    EXPECT_TRUE(Enabled(*app, ID_DATA_PAUSE));
    EXPECT_FALSE(Enabled(*app, ID_SET_ENVIRONMENT));
    EXPECT_TRUE(Enabled(*app, ID_EDIT_COMMENT));
    EXPECT_FALSE(Enabled(*app, ID_PORT_DISCONNECT));

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

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(int& paints) : paints_(paints) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints_ += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }

  private:
    int& paints_;
};

TEST_F(QuolixAppTest, StatusPanesSayWhatTheLinkDoes) {
    auto app = Start();
    Ticks(*app, 1);
    MainFrameUi& ui = app->Frame().Ui();
    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
    EXPECT_EQ(ui.LinkPane(0)->text(), QStringLiteral("COM1 /dev/ttyUSB0"));
    EXPECT_EQ(ui.LinkPane(1)->text(), QStringLiteral("接続中"));
    EXPECT_EQ(ui.LinkPane(2)->text(), QStringLiteral("0日 00:00:00"));
    EXPECT_EQ(ui.LinkPane(3)->text(), QStringLiteral("間隔 1 秒"));
    EXPECT_EQ(ui.LinkPane(4)->text(), QStringLiteral("1 点"));
    // New texts repaint their panes, never the graph.
    QApplication::processEvents();
    int graphPaints = 0;
    PaintCounter counter(graphPaints);
    app->Frame().Host().installEventFilter(&counter);
    app->View().elapsed = 3600;
    app->UpdateStatusPanes(true);
    QApplication::processEvents();
    EXPECT_EQ(ui.LinkPane(2)->text(), QStringLiteral("0日 01:00:00"));
    EXPECT_EQ(graphPaints, 0);
    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_PAUSE));
    ASSERT_TRUE(app->ExecuteCommand(ID_PORT_DISCONNECT));
    EXPECT_EQ(ui.LinkPane(1)->text(), QStringLiteral("切断"));
    EXPECT_TRUE(ui.LinkPane(2)->isHidden());
    EXPECT_TRUE(Enabled(*app, ID_PORT_CONNECT));
    // The offscreen platform tells no lock keys: their panes are blank.
    for (size_t i = 1; i < ui.StatusPaneCount(); ++i) {
        EXPECT_TRUE(ui.StatusPane(i)->text().isEmpty()) << i;
    }
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

// A settings file that cannot be saved is told, naming it and the reason, both
// for OK in the settings dialog (whose changes still hold for this run) and
// for the window's placement at exit.
TEST_F(QuolixAppTest, ASettingsSaveThatFailsIsToldWithTheFileAndTheReason) {
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(SettingsPath())));
    auto app = Start();
    const testing::WhenModal<CSettingsDlg> driver([](CSettingsDlg& dialog) {
        qobject_cast<QAbstractButton*>(dialog.Control(CSettingsDlg::IdResolution1Hz))->click();
        qobject_cast<QAbstractButton*>(dialog.Control(CSettingsDlg::IdOk))->click();
    });
    ASSERT_TRUE(app->ExecuteCommand(ID_SET_ENVIRONMENT));
    const QString failed =
        QString::fromStdString(SettingsPath()) +
        QStringLiteral(" に設定を保存できませんでした。\n(ファイルではなくフォルダーです)");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], failed + QStringLiteral("\n変更は Quolix を終了するまで有効です。"));
    EXPECT_EQ(app->View().settings.Int(SettingsRecord::Resolution), 2);
    app->Frame().close();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], failed);
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

TEST_F(QuolixAppTest, ARecordingOfAnotherUnitIsSaidAndReadInItForTheSessionOnYes) {
    auto app = Start();
    const std::string settingsBefore = SettingsBytes();
    CQuolixDoc& doc = app->Document();
    doc.Append(0, 10'000'000);
    doc.comments[4] = "QLX1 count=1Hz";
    const QString path = dir.filePath("own.qlx");
    ASSERT_TRUE(app->SaveDocumentAs(path));
    ASSERT_EQ(app->View().settings.Int(SettingsRecord::Resolution), 0);  // 100 Hz

    answer = QMessageBox::Yes;
    ASSERT_TRUE(app->OpenDocumentFile(path));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("1 Hz"))) << questions[0].toStdString();
    EXPECT_EQ(app->View().settings.Int(SettingsRecord::Resolution), 2);
    const QString status = app->Frame().statusBar()->currentMessage();
    EXPECT_TRUE(status.contains(QStringLiteral("1 Hz"))) << status.toStdString();
    EXPECT_EQ(SettingsBytes(), settingsBefore);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
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
    const std::string settings = WriteMaximisedSettings();
    const std::string missing = dir.filePath("missing.qlx").toStdString();
    {
        auto app = Start({missing});
        ASSERT_TRUE(status.has_value());
        EXPECT_NE(*status, 0);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.qlx")));
    }
    EXPECT_EQ(SettingsBytes(), settings);
}

TEST_F(QuolixAppTest, BadArgumentsEndStartUp) {
    auto app = Start({"--print", "one.qlx", "two.qlx"});
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 2);
}

// A print from the command line: the destination's paper and answers, the
// job named after the file, the page finished or the failure reported with
// status 1. The window is never shown, so the stored placement stays.
TEST_F(QuolixAppTest, CommandLinePrintReportsWhatBecameOfTheJob) {
    struct Case {
        const char* name;
        Status ready;
        Status took;
        const char* output;  // in the test's folder
        int status;
        const char* reason;  // in the message after "run.qlx を印刷できませんでした。"
    };
    const Case cases[] = {
        {"printed", Status{}, Status{}, "out.pdf", 0, nullptr},
        {"refused before", Status::Failure("プリンタ「PDF」は印刷を受け付けていません。"), Status{},
         "out.pdf", 1, "プリンタ「PDF」は印刷を受け付けていません。"},
        {"refused after", Status{},
         Status::Failure("プリンタ「PDF」が印刷を受け付けませんでした。"), "out.pdf", 1,
         "プリンタ「PDF」が印刷を受け付けませんでした。"},
        {"no folder", Status{}, Status{}, "none/out.pdf", 1, "に書き込めません。"},
    };
    const std::string run = SaveRun();
    const std::string settings = WriteMaximisedSettings();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pdf = dir.filePath(QString::fromUtf8(c.output));
        QFile::remove(pdf);
        messages.clear();
        destination.paper = QPageSize(QPageSize::Letter);
        destination.ready = c.ready;
        destination.took = c.took;
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            auto app = Start({"--print", run}, &printer);
            ASSERT_TRUE(status.has_value());
            EXPECT_EQ(*status, c.status);
            EXPECT_EQ(printer.docName().toStdString(), "run.qlx");
            EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
            EXPECT_EQ(app->View().printing, 0);
        }
        EXPECT_EQ(SettingsBytes(), settings);
        if (c.status != 0) {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(
                messages[0].startsWith(QStringLiteral("run.qlx を印刷できませんでした。\n")))
                << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains(QString::fromUtf8(c.reason)))
                << messages[0].toStdString();
            if (!c.took.ok) {
                EXPECT_TRUE(QFile::exists(pdf));  // drawn, then refused
            } else {
                EXPECT_FALSE(QFile::exists(pdf));
            }
            continue;
        }
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        const QString info = PdfTool(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+run\\.qlx\\n"))))
            << info.toStdString();
        EXPECT_TRUE(
            info.contains(QRegularExpression(QStringLiteral("Page size:\\s+612 x 792 pts"))))
            << info.toStdString();
        // No margins on a PDF: the frame's corner is (370, 500) from the
        // paper's corner.
        const PageFrame frame = PageFrame::Find(PdfPage(pdf));
        EXPECT_NEAR(frame.left, 370, 1.0);
        EXPECT_NEAR(frame.top, 500, 1.0);
        EXPECT_NEAR(frame.bottom, 2300, 1.0);
    }
}

// The desktop's print action, started without a file, asks for one with the
// open-file dialog; cancelling it prints nothing.
TEST_F(QuolixAppTest, PrintWithoutAFileAsksForOne) {
    const std::string run = SaveRun();
    for (const bool choose : {false, true}) {
        SCOPED_TRACE(choose ? "chosen" : "cancelled");
        const QString pdf = dir.filePath(QStringLiteral("asked.pdf"));
        QFile::remove(pdf);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        bool asked = false;
        const WhenModal answer([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                ADD_FAILURE() << "no file dialog";
                if (modal != nullptr) {
                    modal->close();
                }
                return;
            }
            asked = true;
            EXPECT_TRUE(dialog->nameFilters().contains(QStringLiteral("Quolix ﾌｧｲﾙ (*.qlx)")));
            if (choose) {
                dialog->selectFile(QString::fromStdString(run));
                QMetaObject::invokeMethod(dialog, "accept");
            } else {
                dialog->reject();
            }
        });
        auto app = Start({"--print"}, &printer);
        EXPECT_TRUE(asked);
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(*status, 0);
        EXPECT_EQ(QFile::exists(pdf), choose);
        EXPECT_EQ(destination.jobs, choose ? 1 : 0);
        destination.jobs = 0;
    }
}

// The preview names what it shows and closes with its own button; while it
// is open the window keeps its own picture, the printed layout being used
// only while the preview's page is drawn.
TEST_F(QuolixAppTest, PreviewLeavesTheWindowItsPictureAndClosesWithItsButton) {
    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    auto app = Start({}, &printer);
    app->Document().Append(0, 100000);
    app->Document().Append(10, 100004);
    QtViewHost& host = app->Frame().Host();
    // The lower part of the window: the frame's bottom, the labels and the
    // comments, but not the clock.
    const auto lowerPart = [&host] {
        host.Invalidate();
        const QImage image = host.grab().toImage();
        return image.copy(0, image.height() / 2, image.width(), image.height() / 2);
    };
    const QImage before = lowerPart();
    bool closed = false;
    const WhenModal check([&](QWidget* modal) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
        if (preview == nullptr) {
            ADD_FAILURE() << "no preview";
            if (modal != nullptr) {
                modal->close();
            }
            return;
        }
        EXPECT_TRUE(preview->windowTitle().contains(QStringLiteral("無題")));
        EXPECT_TRUE(preview->windowTitle().contains(pdf)) << preview->windowTitle().toStdString();
        EXPECT_EQ(app->View().printing, 0);
        Ticks(*app, 1);
        EXPECT_TRUE(lowerPart() == before) << "the window shows another picture";
        for (QToolButton* button : preview->findChildren<QToolButton*>()) {
            if (button->text() == QStringLiteral("閉じる") && !closed) {
                closed = true;
                button->click();
            }
        }
        if (!closed) {
            ADD_FAILURE() << "no 閉じる button";
            preview->reject();
        }
    });
    ASSERT_TRUE(app->ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(closed);
    EXPECT_EQ(app->View().printing, 0);
    EXPECT_FALSE(QFile::exists(pdf));
}

// A tick through the window's timer brings the command states up to date when
// it changed the view's inputs, with no command or menu in between: Start is
// disabled while the counter is silent and enabled while it answers.
TEST_F(QuolixAppTest, ATickThatChangesTheViewsInputsUpdatesTheCommands) {
    link.script = {100000, std::nullopt, 100000, 100000, std::nullopt};
    link.afterScript.reset();
    auto app = Start();
    QTimer* poll = nullptr;
    for (QTimer* timer : app->Frame().Host().findChildren<QTimer*>()) {
        if (timer->interval() == static_cast<int>(CQuolixView::PollPeriodMs)) {
            poll = timer;
        }
    }
    ASSERT_NE(poll, nullptr);
    QAction* start = app->Frame().Ui().Action(ID_DATA_START);
    for (const bool answered : {true, false, true, true, false}) {
        ASSERT_TRUE(QMetaObject::invokeMethod(poll, "timeout"));
        EXPECT_EQ(start->isEnabled(), answered);
    }
}

// A paint brings each exposed rectangle of the picture to the screen, and
// nothing between them: a tick exposes the readout and a new segment.
TEST_F(QuolixAppTest, APaintShowsThePictureInEachExposedRectangleOnly) {
    auto app = Start();
    QtViewHost& host = app->Frame().Host();
    Ticks(*app, 1);
    const QImage picture = host.grab().toImage();
    const QRect readout(0, 0, host.width() / 2, host.height() / 4);
    const QRect corner(host.width() * 3 / 4, host.height() * 3 / 4, host.width() / 4,
                       host.height() / 4);
    QImage shown(host.size(), QImage::Format_RGB32);
    shown.fill(Qt::green);
    host.render(&shown, QPoint(), QRegion(readout) + QRegion(corner));
    EXPECT_TRUE(shown.copy(readout) == picture.copy(readout));
    EXPECT_TRUE(shown.copy(corner) == picture.copy(corner));
    EXPECT_EQ(shown.pixel(host.width() * 5 / 8, host.height() / 2), qRgb(0, 255, 0));
}

// Between whole repaints the window's picture is drawn in parts: the readout
// only where its texts changed, a new sample as one more segment while the
// axes stay. After every interval it must equal a whole repaint: on a series
// that keeps its scale (drawn in parts throughout) and one that widens it at
// every sample (repainted whole each time). The clock may turn between the
// two pictures; then only the part below the readout's rows is compared.
TEST_F(QuolixAppTest, ThePictureDrawnInPartsEqualsAWholeRepaint) {
    struct Series {
        const char* name;
        int32_t (*reading)(int32_t second);
        int grownIntervals;
    };
    const Series series[] = {
        {"steady", [](int32_t second) { return 100000 + (second % 2 == 0 ? 0 : 7); }, 8},
        {"widening", [](int32_t second) { return 100000 + 15 * second * second; }, 0},
    };
    for (const Series& each : series) {
        SCOPED_TRACE(each.name);
        link.script.clear();
        link.script.push_back(each.reading(0));
        for (int32_t second = 1; second <= 8; ++second) {
            link.script.insert(link.script.end(), 4, each.reading(second));
        }
        auto app = Start();
        QtViewHost& host = app->Frame().Host();
        Ticks(*app, 1);
        ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
        host.grab();
        const int belowReadout = BelowReadout(host);
        int grown = 0;
        int wholeCompared = 0;
        for (int32_t second = 1; second <= 8; ++second) {
            // A mark in the corner, which only a whole repaint erases.
            {
                const auto dc = host.GetDC();
                dc->SelectPen(Pen{0, 0x0000FF});
                dc->MoveTo(0, 0);
                dc->LineTo(3, 0);
            }
            const LocalTime before = ReadLocalClock();
            Ticks(*app, 4);
            const QImage parts = host.grab().toImage();
            grown += parts.pixel(1, 0) == qRgb(255, 0, 0) ? 1 : 0;
            host.Invalidate();
            const QImage whole = host.grab().toImage();
            ASSERT_EQ(app->Document().Samples().Count(), second + 1);
            const int top = ReadLocalClock() == before ? 1 : belowReadout;
            wholeCompared += top == 1 ? 1 : 0;
            EXPECT_TRUE(parts.copy(0, top, parts.width(), parts.height() - top) ==
                        whole.copy(0, top, whole.width(), whole.height() - top))
                << "after second " << second;
        }
        EXPECT_EQ(grown, each.grownIntervals);
        EXPECT_GE(wholeCompared, 1);
    }
}

// A window given a new size shows the picture drawn for that size, also
// after the readout has drawn into it between paints; compared with the
// view drawn on a page of its own, below the readout's rows.
TEST_F(QuolixAppTest, AResizedWindowShowsThePictureOfItsNewSize) {
    link.script.assign(9, 100000);
    auto app = Start();
    QtViewHost& host = app->Frame().Host();
    Ticks(*app, 1);
    ASSERT_TRUE(app->ExecuteCommand(ID_DATA_START));
    host.grab();
    Ticks(*app, 4);
    const QSize before = host.size();
    app->Frame().resize(app->Frame().size() + QSize(120, 90));
    QApplication::sendPostedEvents();
    ASSERT_NE(host.size(), before);
    const QImage shown = host.grab().toImage();
    Ticks(*app, 4);
    const QImage ticked = host.grab().toImage();

    QImage expected(host.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QtDeviceContext dc(painter, ScreenDpiY());
        app->View().OnDraw(dc);
    }
    const int top = BelowReadout(host);
    const auto below = [top](const QImage& image) {
        return image.copy(0, top, image.width(), image.height() - top);
    };
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_TRUE(below(shown) == below(expected));
    EXPECT_TRUE(below(ticked) == below(expected));
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

namespace quolix::app {
namespace {

int32_t SavedCount(const std::string& path) {
    CQuolixDoc saved;
    return docfile::Open(saved, path).ok ? saved.count : -1;
}

// New, Open and exit ask before unsaved samples go; yes saves first, no goes
// on, cancel (or a save that fails or is cancelled) keeps everything.
TEST_F(QuolixAppTest, UnsavedSamplesAreAskedAboutBeforeTheyGo) {
    const std::string other = SaveRun();
    enum class Command { New, Open, Exit };
    enum class Target { Named, FolderGone, Untitled };
    using B = QMessageBox::StandardButton;
    const struct {
        Command command;
        B answer;
        Target target;
        bool goesOn;
        int32_t saved;  // samples in the file afterwards
    } cases[] = {
        {Command::New, B::Yes, Target::Named, true, 2},
        {Command::New, B::No, Target::Named, true, 1},
        {Command::New, B::Cancel, Target::Named, false, 1},
        {Command::Open, B::Yes, Target::Named, true, 2},
        {Command::Open, B::No, Target::Named, true, 1},
        {Command::Open, B::Cancel, Target::Named, false, 1},
        {Command::Exit, B::Yes, Target::Named, true, 2},
        {Command::Exit, B::No, Target::Named, true, 1},
        {Command::Exit, B::Cancel, Target::Named, false, 1},
        {Command::Exit, B::Yes, Target::FolderGone, false, -1},
        {Command::New, B::Yes, Target::Untitled, false, -1},  // Save As cancelled
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(row++);
        const QString folder = dir.filePath(QStringLiteral("sub%1").arg(row));
        QDir().mkpath(folder);
        const std::string mine = QDir(folder).filePath(QStringLiteral("mine.qlx")).toStdString();
        auto app = Start();
        CQuolixDoc& doc = app->Document();
        doc.Append(0, 1);
        if (c.target != Target::Untitled) {
            ASSERT_TRUE(app->SaveDocumentAs(QString::fromStdString(mine)));
        }
        if (c.target == Target::FolderGone) {
            QDir(folder).removeRecursively();
        }
        doc.Append(1, 2);
        app->DocumentChanged();
        const QString name =
            c.target == Target::Untitled ? QStringLiteral("無題") : QStringLiteral("mine.qlx");
        EXPECT_EQ(app->Frame().windowTitle(), name + QStringLiteral("* - Quolix"));
        questions.clear();
        messages.clear();
        answer = c.answer;
        const WhenModal cancelSaveAs([](QWidget* modal) {
            if (modal != nullptr) {
                modal->close();
            }
        });
        bool wentOn = false;
        switch (c.command) {
            case Command::New:
                app->ExecuteCommand(ID_FILE_NEW);
                wentOn = doc.count == 0;
                break;
            case Command::Open:
                app->OpenDocumentFile(QString::fromStdString(other));
                wentOn = doc.GetPathName() == other;
                break;
            case Command::Exit:
                app->ExecuteCommand(ID_APP_EXIT);
                wentOn = !app->Frame().isVisible();
                break;
        }
        EXPECT_EQ(questions, QStringList{name + QStringLiteral(" への変更を保存しますか?")});
        EXPECT_EQ(wentOn, c.goesOn);
        EXPECT_EQ(SavedCount(mine), c.saved);
        EXPECT_EQ(messages.size(), c.target == Target::FolderGone ? 1 : 0)
            << messages.join('\n').toStdString();
        // A clean document is let go without a question.
        questions.clear();
        if (!wentOn) {
            doc.SetModifiedFlag(false);
            app->ExecuteCommand(ID_APP_EXIT);
            EXPECT_FALSE(app->Frame().isVisible());
            EXPECT_TRUE(questions.isEmpty());
        }
    }
}

// A leftover copy is offered at start-up: yes makes it the untitled,
// modified document, no deletes it; a damaged one is moved aside.
TEST_F(QuolixAppTest, ARecordingLeftUnsavedIsOfferedAtStartUp) {
    QDir().mkpath(QString::fromStdString(RecoveryFolder()));
    const std::string leftover = RecoveryFolder() + "/recovery-999999999.qlx";
    CQuolixDoc unsaved;
    for (int32_t t = 0; t < 5; ++t) {
        unsaved.Append(t, 7000 + t);
    }
    unsaved.SetComments({"c1", "c2", "c3", "c4", "c5"});
    using B = QMessageBox::StandardButton;
    for (const B choice : {B::No, B::Yes}) {
        ASSERT_TRUE(docfile::SaveCopy(unsaved, leftover, ReplacementFile::Flush::None).ok);
        questions.clear();
        answer = choice;
        auto app = Start();
        ASSERT_EQ(questions.size(), 1);
        EXPECT_TRUE(questions[0].startsWith(
            QStringLiteral("前回、保存されずに終了した記録があります。復元しますか?")));
        EXPECT_TRUE(questions[0].contains(QStringLiteral("サンプル数: 5")))
            << questions[0].toStdString();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(leftover)));
        CQuolixDoc& doc = app->Document();
        if (choice == B::No) {
            EXPECT_EQ(doc.count, 0);
            continue;
        }
        ASSERT_EQ(doc.count, 5);
        EXPECT_EQ(doc.readings[4], 7004);
        EXPECT_EQ(doc.comments, unsaved.comments);
        EXPECT_TRUE(doc.GetPathName().empty());
        EXPECT_EQ(app->Frame().windowTitle(), QStringLiteral("無題* - Quolix"));
        // This instance keeps its own copy, and removes it at a clean exit.
        const QString own = QString::fromStdString(app->Recovery().Path());
        EXPECT_EQ(SavedCount(app->Recovery().Path()), 5);
        app.reset();
        EXPECT_FALSE(QFile::exists(own));
    }
    testing::WriteBytes(leftover, "Quolix V1.001 and then nothing useful");
    messages.clear();
    questions.clear();
    auto app = Start();
    EXPECT_TRUE(questions.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral(".damaged"))) << messages[0].toStdString();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(leftover + ".damaged")));
}

}  // namespace
}  // namespace quolix::app
