#include "app/MainFrameUi.h"

#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "acquisition/StatusTexts.h"
#include "app/LockKeys.h"

namespace quolix::app {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

uint32_t IdOf(const QAction* action) {
    return action->data().toUInt();
}

// Counts the events of one type a widget receives while it lives.
class EventCounter : public QObject {
  public:
    EventCounter(QObject* watched, QEvent::Type type, int& count) : type_(type), count_(count) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) {
            ++count_;
        }
        return false;
    }

  private:
    QEvent::Type type_;
    int& count_;
};

class MainFrameUiTest : public testing::Test {
  protected:
    void SetUp() override {
        // Owned by the window, as every QObject child.
        ui_ = new MainFrameUi(window_);
        QObject::connect(ui_, &MainFrameUi::commandTriggered,
                         [this](uint32_t id) { triggered_.push_back(id); });
    }

    void ShowAndActivate(QWidget& widget) {
        widget.show();
        widget.activateWindow();
        // isActiveWindow() is already true for a dialog whose parent is active;
        // shortcuts follow the application's active window, so wait for that.
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &widget; }));
    }

    QMainWindow window_;
    MainFrameUi* ui_ = nullptr;
    std::vector<uint32_t> triggered_;
};

// One expected menu entry; an empty text marks a separator.
struct Item {
    const char* text;
    uint32_t id;
    const char* hint;
};

void ExpectMenu(const QMenu* menu, const std::vector<Item>& expected) {
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size()))
        << menu->title().toStdString();
    for (size_t i = 0; i < expected.size(); ++i) {
        const QAction* action = actions[static_cast<qsizetype>(i)];
        const Item& item = expected[i];
        SCOPED_TRACE(testing::Message() << menu->title().toStdString() << " entry " << i);
        if (item.text[0] == '\0') {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        EXPECT_FALSE(action->isSeparator());
        EXPECT_EQ(action->text(), U(item.text));
        EXPECT_EQ(IdOf(action), item.id);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::NativeText), U(item.hint));
    }
}

TEST_F(MainFrameUiTest, MenuBarHoldsTheFivePopupsInOrder) {
    const QList<QAction*> popups = window_.menuBar()->actions();
    ASSERT_EQ(popups.size(), 5);
    const char* titles[] = {"ﾌｧｲﾙ(&F)", "表示(&V)", "設定(&S)", "データ(&D)", "ﾍﾙﾌﾟ(&H)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(popups[i]->text(), U(titles[i]));
        EXPECT_NE(popups[i]->menu(), nullptr);
    }
    ExpectMenu(popups[0]->menu(), {{"新規作成(&N)", 57600, "Ctrl+N"},
                                   {"開く(&O)...", 57601, "Ctrl+O"},
                                   {"上書き保存(&S)", 57603, "Ctrl+S"},
                                   {"名前を付けて保存(&A)...", 57604, ""},
                                   {"", 0, ""},
                                   {"印刷(&P)...", 57607, "Ctrl+P"},
                                   {"印刷ﾌﾟﾚﾋﾞｭｰ(&V)", 57609, ""},
                                   {"ﾌﾟﾘﾝﾀの設定(&R)...", 57606, ""},
                                   {"", 0, ""},
                                   {"最近使ったﾌｧｲﾙ", 57616, ""},
                                   {"", 0, ""},
                                   {"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", 57665, ""}});
    ExpectMenu(popups[1]->menu(), {{"ﾂｰﾙ ﾊﾞｰ(&T)", 59392, ""}, {"ｽﾃｰﾀｽ ﾊﾞｰ(&S)", 59393, ""}});
    ExpectMenu(popups[2]->menu(), {{"ポートの接続", 32777, ""},
                                   {"ポートの切断", 32778, ""},
                                   {"", 0, ""},
                                   {"環境設定", 32771, ""},
                                   {"", 0, ""},
                                   {"コメントの編集", 32773, ""}});
    ExpectMenu(popups[3]->menu(), {{"記録開始", 32775, ""}, {"記録中断", 32774, ""}});
    ExpectMenu(popups[4]->menu(), {{"Quolix のﾊﾞｰｼﾞｮﾝ情報(&A)...", 57664, ""}});
    EXPECT_EQ(ui_->MenuOf(32771), popups[2]->menu());
    EXPECT_EQ(ui_->MenuOf(57665), popups[0]->menu());
}

TEST_F(MainFrameUiTest, RecentFilePlaceholderStartsGreyedAndStaysSo) {
    QAction* recent = ui_->Action(57616);
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled());
    ui_->UpdateEnabled([](uint32_t) { return true; });
    EXPECT_FALSE(recent->isEnabled());
}

TEST_F(MainFrameUiTest, ToolbarButtonsInOrderWith16By15Images) {
    const std::vector<uint32_t> expected = {57600, 57601, 57603, 0,     57607, 0,    32771,
                                            32773, 0,     32775, 32774, 0,     57664};
    const char* tips[] = {"新規作成", "開く", "上書き保存", "印刷",          "設定",
                          "コメント", "記録", "中断",       "バージョン情報"};
    QToolBar* bar = ui_->ToolBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(window_.toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size()));
    size_t button = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        const QAction* action = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(testing::Message() << "position " << i);
        if (expected[i] == 0) {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        EXPECT_EQ(IdOf(action), expected[i]);
        EXPECT_EQ(action->toolTip(), U(tips[button++]));
        EXPECT_TRUE(action->icon().availableSizes().contains(QSize(16, 15)));
        EXPECT_EQ(action, ui_->Action(expected[i]));  // the menu's action, not a copy
    }
}

TEST_F(MainFrameUiTest, ProgramCommandsCarryTheirPromptsAndTooltips) {
    struct Expected {
        uint32_t id;
        const char* prompt;
        const char* tip;
    };
    const Expected commands[] = {
        {32771, "環境設定", "設定"},         {32773, "コメントの編集", "コメント"},
        {32774, "記録中断", "中断"},         {32775, "記録開始", "記録"},
        {32777, "ポートを接続する", "接続"}, {32778, "ポートを切断する。", "切断"},
    };
    for (const Expected& c : commands) {
        const QAction* action = ui_->Action(c.id);
        ASSERT_NE(action, nullptr) << c.id;
        EXPECT_EQ(action->statusTip(), U(c.prompt)) << c.id;
        EXPECT_EQ(action->toolTip(), U(c.tip)) << c.id;
    }
}

TEST_F(MainFrameUiTest, EveryCommandHasAPromptAndATooltip) {
    for (const QAction* action : window_.actions()) {
        EXPECT_FALSE(action->statusTip().isEmpty()) << IdOf(action);
        EXPECT_FALSE(action->toolTip().isEmpty()) << IdOf(action);
    }
    EXPECT_EQ(ui_->Action(12345), nullptr);
}

TEST_F(MainFrameUiTest, AcceleratorsBelongToTheirCommandsAndNoOthers) {
    struct Expected {
        QKeySequence keys;
        uint32_t id;
    };
    const Expected accelerators[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), 57600},
        {QKeySequence(Qt::CTRL | Qt::Key_O), 57601},
        {QKeySequence(Qt::CTRL | Qt::Key_S), 57603},
        {QKeySequence(Qt::CTRL | Qt::Key_P), 57607},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), 57643},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), 57643},
        {QKeySequence(Qt::CTRL | Qt::Key_X), 57635},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 57635},
        {QKeySequence(Qt::CTRL | Qt::Key_C), 57634},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), 57634},
        {QKeySequence(Qt::CTRL | Qt::Key_V), 57637},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 57637},
        {QKeySequence(Qt::Key_F6), 57680},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), 57681},
    };
    qsizetype total = 0;
    for (const QAction* action : window_.actions()) {
        total += action->shortcuts().size();
        EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut) << IdOf(action);
    }
    EXPECT_EQ(total, 14);
    for (const Expected& a : accelerators) {
        std::vector<uint32_t> owners;
        for (const QAction* action : window_.actions()) {
            if (action->shortcuts().contains(a.keys)) {
                owners.push_back(IdOf(action));
            }
        }
        EXPECT_EQ(owners, std::vector<uint32_t>{a.id}) << a.keys.toString().toStdString();
    }
}

TEST_F(MainFrameUiTest, TriggeringAnActionReportsItsCommand) {
    ui_->Action(32775)->trigger();
    ui_->Action(57665)->trigger();
    EXPECT_EQ(triggered_, (std::vector<uint32_t>{32775, 57665}));
}

TEST_F(MainFrameUiTest, AcceleratorKeyReportsItsCommand) {
    ShowAndActivate(window_);
    QTest::keyClick(&window_, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&window_, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(triggered_, (std::vector<uint32_t>{57600, 57607}));
}

TEST_F(MainFrameUiTest, DisabledCommandIgnoresItsKey) {
    ui_->UpdateEnabled([](uint32_t id) { return id != 57600; });
    ShowAndActivate(window_);
    QTest::keyClick(&window_, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&window_, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(triggered_, (std::vector<uint32_t>{57601}));
}

TEST_F(MainFrameUiTest, UpdateEnabledFollowsTheCallbackForHandledCommands) {
    ui_->UpdateEnabled([](uint32_t id) { return id != 32777 && id != 32778 && id != 32774; });
    EXPECT_FALSE(ui_->Action(32777)->isEnabled());
    EXPECT_FALSE(ui_->Action(32778)->isEnabled());
    EXPECT_FALSE(ui_->Action(32774)->isEnabled());
    EXPECT_TRUE(ui_->Action(32775)->isEnabled());
    EXPECT_TRUE(ui_->Action(57600)->isEnabled());
    ui_->UpdateEnabled([](uint32_t id) { return id == 32774; });
    EXPECT_TRUE(ui_->Action(32774)->isEnabled());
    EXPECT_FALSE(ui_->Action(32775)->isEnabled());
    EXPECT_FALSE(ui_->Action(57600)->isEnabled());
}

TEST_F(MainFrameUiTest, UnhandledEditAndPaneCommandsStayDisabled) {
    ui_->UpdateEnabled([](uint32_t) { return true; });
    for (const uint32_t id : {57643u, 57635u, 57634u, 57637u, 57680u, 57681u}) {
        ASSERT_NE(ui_->Action(id), nullptr) << id;
        EXPECT_FALSE(ui_->Action(id)->isEnabled()) << id;
    }
}

TEST_F(MainFrameUiTest, FrameTogglesStayEnabledAndHideTheirBars) {
    ui_->UpdateEnabled([](uint32_t) { return false; });
    QAction* toolbar = ui_->Action(59392);
    QAction* status = ui_->Action(59393);
    ASSERT_TRUE(toolbar->isEnabled());
    ASSERT_TRUE(status->isEnabled());
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_TRUE(status->isChecked());
    ShowAndActivate(window_);
    toolbar->trigger();
    EXPECT_TRUE(ui_->ToolBar()->isHidden());
    EXPECT_FALSE(toolbar->isChecked());
    status->trigger();
    EXPECT_TRUE(ui_->StatusBar()->isHidden());
    toolbar->trigger();
    status->trigger();
    EXPECT_FALSE(ui_->ToolBar()->isHidden());
    EXPECT_FALSE(ui_->StatusBar()->isHidden());
    // The frame handles these itself; nothing else hears of them.
    EXPECT_TRUE(triggered_.empty());
}

TEST_F(MainFrameUiTest, ClosingTheToolbarElsewhereUnchecksItsCommand) {
    ShowAndActivate(window_);
    ui_->ToolBar()->toggleViewAction()->trigger();
    EXPECT_FALSE(ui_->Action(59392)->isChecked());
}

TEST_F(MainFrameUiTest, StatusBarHasTheFivePanesInOrder) {
    ASSERT_EQ(ui_->StatusPaneCount(), 5u);
    // The lock keys are all on here; off, their panes are blank.
    ui_->ShowLockKeys(LockKeys{true, true, true, true});
    const char* texts[] = {"ﾚﾃﾞｨ", "ｶﾅ", "CAP", "NUM", "SCRL"};
    for (size_t i = 0; i < 5; ++i) {
        ASSERT_NE(ui_->StatusPane(i), nullptr);
        EXPECT_EQ(ui_->StatusPane(i)->text(), U(texts[i]));
        EXPECT_EQ(ui_->StatusPane(i)->parentWidget(), ui_->StatusBar());
    }
    EXPECT_EQ(ui_->StatusPane(5), nullptr);
    EXPECT_EQ(window_.statusBar(), ui_->StatusBar());
    ui_->ShowLinkTexts(
        StatusTexts{"COM1 /dev/ttyS0", "接続中", "0日 00:00:01", "間隔 1 秒", "2 点"});
    window_.resize(900, 480);
    ShowAndActivate(window_);
    // The message pane takes the free width on the left, the link's panes
    // follow, then the indicators.
    std::vector<QLabel*> order = {ui_->StatusPane(0)};
    for (size_t i = 0; i < MainFrameUi::LinkPaneCount; ++i) {
        order.push_back(ui_->LinkPane(i));
    }
    for (size_t i = 1; i < 5; ++i) {
        order.push_back(ui_->StatusPane(i));
    }
    for (size_t i = 1; i < order.size(); ++i) {
        EXPECT_LT(order[i - 1]->geometry().right(), order[i]->geometry().left()) << i;
    }
    ui_->ShowLockKeys(LockKeys{false, true, false, false});
    EXPECT_TRUE(ui_->StatusPane(1)->text().isEmpty());
    EXPECT_EQ(ui_->StatusPane(2)->text(), U("CAP"));
    ui_->ShowLockKeys(std::nullopt);
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_TRUE(ui_->StatusPane(i)->text().isEmpty()) << i;
    }
}

// The elapsed time and the count change every second: a text of the same
// width repaints its pane without the bar being laid out again, while a wider
// text or a narrower window still moves the panes as the layout decides.
TEST_F(MainFrameUiTest, PanesKeepTheirPlacesUnlessTheirTextsOrTheBarChangeWidth) {
    QStatusBar* bar = ui_->StatusBar();
    // A long port name, which a narrow window must cut short.
    const auto show = [this](const char* elapsed, const char* count, char port = '0') {
        const std::string name =
            std::string("COM1 /dev/serial/by-id/usb-0403_6001_A50285BI-if00-port") + port;
        ui_->ShowLinkTexts(StatusTexts{name, "接続中", elapsed, "間隔 1 秒", count});
    };
    // Every pane within the bar, each right of the one before.
    const auto inOrder = [this, bar] {
        std::vector<QLabel*> order = {ui_->StatusPane(0)};
        for (size_t i = 0; i < MainFrameUi::LinkPaneCount; ++i) {
            order.push_back(ui_->LinkPane(i));
        }
        for (size_t i = 1; i < ui_->StatusPaneCount(); ++i) {
            order.push_back(ui_->StatusPane(i));
        }
        for (size_t i = 1; i < order.size(); ++i) {
            if (order[i - 1]->geometry().right() >= order[i]->geometry().left() ||
                order[i]->geometry().right() >= bar->width()) {
                return false;
            }
        }
        return true;
    };
    int layouts = 0;
    EventCounter counter(bar, QEvent::LayoutRequest, layouts);
    show("0日 00:00:01", "2 点");
    window_.resize(1000, 480);
    ShowAndActivate(window_);
    ui_->ShowLockKeys(LockKeys{true, true, true, true});
    QTest::qWait(50);
    show("0日 00:00:02", "3 点", '1');
    QTest::qWait(50);

    layouts = 0;
    show("0日 00:00:03", "4 点", '2');
    QTest::qWait(50);
    EXPECT_EQ(layouts, 0);
    EXPECT_EQ(ui_->LinkPane(2)->text(), U("0日 00:00:03"));

    show("0日 00:00:04", "1000 点", '2');
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ui_->LinkPane(4)->width() >= ui_->LinkPane(4)->sizeHint().width(); }));
    EXPECT_TRUE(inOrder());

    window_.resize(600, 480);
    EXPECT_TRUE(QTest::qWaitFor(inOrder));
}

// The idle text and the prompts start at the same place, so the text does
// not jump when the pointer moves over a command.
TEST_F(MainFrameUiTest, IdleTextSitsWhereThePromptsDo) {
    ShowAndActivate(window_);
    QStatusBar* bar = ui_->StatusBar();
    const auto firstInkColumn = [bar] {
        const QImage image = bar->grab().toImage();
        const QRgb background = image.pixel(image.width() / 2, 1);
        for (int x = 0; x < image.width() / 2; ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) < qGray(background) - 80) {
                    return x;
                }
            }
        }
        return -1;
    };
    const int idle = firstInkColumn();
    bar->showMessage(U("ﾚﾃﾞｨ"));
    const int prompt = firstInkColumn();
    bar->clearMessage();
    EXPECT_GE(idle, 0);
    EXPECT_EQ(idle, prompt);
}

TEST_F(MainFrameUiTest, PromptShowsOverTheIdleTextAndLeavesIt) {
    ShowAndActivate(window_);
    ui_->Action(32775)->showStatusText(&window_);
    EXPECT_EQ(ui_->StatusBar()->currentMessage(), U("記録開始"));
    EXPECT_FALSE(ui_->StatusPane(0)->isVisible());
    ui_->Action(57600)->showStatusText(&window_);
    EXPECT_EQ(ui_->StatusBar()->currentMessage(), U("新しいファイルを作成します"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&window_, &leave);
    EXPECT_TRUE(ui_->StatusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(ui_->StatusPane(0)->isVisible());
    EXPECT_EQ(ui_->StatusPane(0)->text(), U("ﾚﾃﾞｨ"));
}

TEST_F(MainFrameUiTest, WindowGetsTheApplicationIcon) {
    const QList<QSize> sizes = window_.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

// Editing keys that are accelerators of unhandled commands must still reach a
// text field, whether it sits in the main window or in a dialog.
TEST_F(MainFrameUiTest, EditKeysReachATextFieldInTheMainWindow) {
    auto* edit = new QLineEdit(&window_);
    window_.setCentralWidget(edit);
    ui_->UpdateEnabled([](uint32_t) { return true; });
    ShowAndActivate(window_);
    edit->setFocus();
    QTest::keyClicks(edit, "abc");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "abc");
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "abcabc");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "abc");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "abcabc");
    QTest::keyClick(edit, Qt::Key_F6);
    QTest::keyClick(edit, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(triggered_.empty());
}

TEST_F(MainFrameUiTest, F10TakesTheKeyboardToTheMenuBarAndBack) {
    auto* edit = new QLineEdit(&window_);
    window_.setCentralWidget(edit);
    ShowAndActivate(window_);
    edit->setFocus();
    QMenuBar* bar = window_.menuBar();
    const QList<QAction*> menus = bar->actions();

    // Highlighted, not dropped down: the arrows move along the bar.
    const auto highlighted = [&](QAction* menu) {
        const QImage image = bar->grab(bar->actionGeometry(menu)).toImage();
        const QRgb highlight = bar->palette().color(QPalette::Highlight).rgb();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == highlight ? 1 : 0;
            }
        }
        return count > image.width() * image.height() / 4;
    };
    EXPECT_FALSE(highlighted(menus[0]));
    QTest::keyClick(edit, Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), menus[0]);
    EXPECT_TRUE(highlighted(menus[0]));
    EXPECT_TRUE(bar->hasFocus());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), menus[1]);
    EXPECT_FALSE(highlighted(menus[0]));
    EXPECT_TRUE(highlighted(menus[1]));
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_EQ(bar->activeAction(), nullptr);
    EXPECT_TRUE(edit->hasFocus());

    // F10 again leaves, as a second Alt does; Down drops the menu.
    QTest::keyClick(edit, Qt::Key_F10);
    QTest::keyClick(bar, Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), nullptr);
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_F10);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(QApplication::activePopupWidget(), menus[0]->menu());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(triggered_.empty());
}

TEST_F(MainFrameUiTest, MainWindowKeysDoNothingInsideADialog) {
    ShowAndActivate(window_);
    QDialog dialog(&window_);
    auto* edit = new QLineEdit(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    ShowAndActivate(dialog);
    edit->setFocus();
    QTest::keyClicks(edit, "xy");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "xyxy");
    QTest::keyClick(edit, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(triggered_.empty()) << testing::PrintToString(triggered_);
}

}  // namespace
}  // namespace quolix::app
