#include "app/CommandTable.h"

#include <array>

#include "framework/CommandIds.h"

namespace quolix::app::commands {
namespace {

using Entry = MenuEntry;
using Kind = MenuEntry::Kind;

constexpr Entry Command(std::string_view text, uint32_t id) {
    return Entry{Kind::Command, text, id, {}};
}
constexpr Entry Separator() {
    return Entry{Kind::Separator, {}, 0, {}};
}
constexpr Entry Popup(std::string_view text, std::span<const Entry> items) {
    return Entry{Kind::Popup, text, 0, items};
}

constexpr std::array FileMenu = {
    Command("新規作成(&N)", ID_FILE_NEW),
    Command("開く(&O)...", ID_FILE_OPEN),
    Command("上書き保存(&S)", ID_FILE_SAVE),
    Command("名前を付けて保存(&A)...", ID_FILE_SAVE_AS),
    Separator(),
    Command("印刷(&P)...", ID_FILE_PRINT),
    Command("印刷ﾌﾟﾚﾋﾞｭｰ(&V)", ID_FILE_PRINT_PREVIEW),
    Command("ﾌﾟﾘﾝﾀの設定(&R)...", ID_FILE_PRINT_SETUP),
    Separator(),
    // Greyed until the recent-file list takes its place.
    Command("最近使ったﾌｧｲﾙ", ID_FILE_MRU_FILE1),
    Separator(),
    Command("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT),
};

constexpr std::array ViewMenu = {
    Command("ﾂｰﾙ ﾊﾞｰ(&T)", ID_VIEW_TOOLBAR),
    Command("ｽﾃｰﾀｽ ﾊﾞｰ(&S)", ID_VIEW_STATUS_BAR),
};

constexpr std::array SettingsMenu = {
    Command("ポートの接続", ID_PORT_CONNECT),
    Command("ポートの切断", ID_PORT_DISCONNECT),
    Separator(),
    Command("環境設定", ID_SET_ENVIRONMENT),
    Separator(),
    Command("コメントの編集", ID_EDIT_COMMENT),
};

constexpr std::array DataMenu = {
    Command("記録開始", ID_DATA_START),
    Command("記録中断", ID_DATA_PAUSE),
};

constexpr std::array HelpMenu = {
    Command("Quolix のﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT),
};

constexpr std::array MenuBar = {
    Popup("ﾌｧｲﾙ(&F)", FileMenu),   Popup("表示(&V)", ViewMenu), Popup("設定(&S)", SettingsMenu),
    Popup("データ(&D)", DataMenu), Popup("ﾍﾙﾌﾟ(&H)", HelpMenu),
};

constexpr uint32_t Sep = ToolbarSeparator;
constexpr std::array<uint32_t, 13> Toolbar = {
    ID_FILE_NEW,        ID_FILE_OPEN,    ID_FILE_SAVE, Sep,           ID_FILE_PRINT, Sep,
    ID_SET_ENVIRONMENT, ID_EDIT_COMMENT, Sep,          ID_DATA_START, ID_DATA_PAUSE, Sep,
    ID_APP_ABOUT,
};

using Acc = Accelerator;
constexpr std::array AcceleratorTable = {
    Acc{Ctrl, Key::N, ID_FILE_NEW},         Acc{Ctrl, Key::O, ID_FILE_OPEN},
    Acc{Ctrl, Key::S, ID_FILE_SAVE},        Acc{Ctrl, Key::P, ID_FILE_PRINT},
    Acc{Ctrl, Key::Z, ID_EDIT_UNDO},        Acc{Alt, Key::Backspace, ID_EDIT_UNDO},
    Acc{Ctrl, Key::X, ID_EDIT_CUT},         Acc{Shift, Key::Delete, ID_EDIT_CUT},
    Acc{Ctrl, Key::C, ID_EDIT_COPY},        Acc{Ctrl, Key::Insert, ID_EDIT_COPY},
    Acc{Ctrl, Key::V, ID_EDIT_PASTE},       Acc{Shift, Key::Insert, ID_EDIT_PASTE},
    Acc{NoModifier, Key::F6, ID_NEXT_PANE}, Acc{Shift, Key::F6, ID_PREV_PANE},
};

using Text = CommandText;
constexpr std::array CommandTexts = {
    // The program's own commands.
    Text{ID_SET_ENVIRONMENT, "環境設定", "設定", "toolbar/settings.png"},
    Text{ID_EDIT_COMMENT, "コメントの編集", "コメント", "toolbar/comment.png"},
    Text{ID_DATA_PAUSE, "記録中断", "中断", "toolbar/data-pause.png"},
    Text{ID_DATA_START, "記録開始", "記録", "toolbar/data-start.png"},
    Text{ID_PORT_CONNECT, "ポートを接続する", "接続", {}},
    Text{ID_PORT_DISCONNECT, "ポートを切断する。", "切断", {}},
    // The framework's standard commands.
    Text{ID_FILE_NEW, "新しいファイルを作成します", "新規作成", "toolbar/file-new.png"},
    Text{ID_FILE_OPEN, "既存のファイルを開きます", "開く", "toolbar/file-open.png"},
    Text{ID_FILE_SAVE, "開いているファイルを上書きして保存します", "上書き保存",
         "toolbar/file-save.png"},
    Text{ID_FILE_SAVE_AS, "ファイルに名前を付けて保存します", "名前を付けて保存", {}},
    Text{ID_FILE_PRINT_SETUP, "プリンタと印刷オプションを設定します", "プリンタの設定", {}},
    Text{ID_FILE_PRINT, "グラフを印刷します", "印刷", "toolbar/file-print.png"},
    Text{ID_FILE_PRINT_DIRECT, "グラフを現在の設定のまま印刷します", "直接印刷", {}},
    Text{ID_FILE_PRINT_PREVIEW, "印刷イメージを画面に表示します", "印刷プレビュー", {}},
    Text{ID_FILE_MRU_FILE1, "このファイルを開きます", "ファイルを開く", {}},
    Text{ID_EDIT_COPY, "選択範囲をコピーしてクリップボードに置きます", "コピー", {}},
    Text{ID_EDIT_CUT, "選択範囲を切り取ってクリップボードに置きます", "切り取り", {}},
    Text{ID_EDIT_PASTE, "クリップボードの内容を貼り付けます", "貼り付け", {}},
    Text{ID_EDIT_UNDO, "直前の操作を元に戻します", "元に戻す", {}},
    Text{ID_APP_ABOUT, "プログラムの情報、バージョン、著作権を表示します", "バージョン情報",
         "toolbar/app-about.png"},
    Text{ID_APP_EXIT, "アプリケーションを終了します", "終了", {}},
    Text{ID_NEXT_PANE, "次のウィンドウ枠に切り替えます", "次のウィンドウ枠", {}},
    Text{ID_PREV_PANE, "前のウィンドウ枠に切り替えます", "前のウィンドウ枠", {}},
    Text{
        ID_VIEW_TOOLBAR, "ツール バーの表示/非表示を切り替えます", "ツール バーの表示切り替え", {}},
    Text{ID_VIEW_STATUS_BAR,
         "ステータス バーの表示/非表示を切り替えます",
         "ステータス バーの表示切り替え",
         {}},
};

using Pane = StatusPane;
constexpr std::array Panes = {
    Pane{MessagePane, IdleText}, Pane{IndicatorKana, "ｶﾅ"},   Pane{IndicatorCaps, "CAP"},
    Pane{IndicatorNum, "NUM"},   Pane{IndicatorScrl, "SCRL"},
};

}  // namespace

std::span<const MenuEntry> MainMenu() {
    return MenuBar;
}

std::span<const uint32_t> ToolbarButtons() {
    return Toolbar;
}

std::span<const Accelerator> Accelerators() {
    return AcceleratorTable;
}

std::span<const CommandText> Commands() {
    return CommandTexts;
}

const CommandText* FindCommand(uint32_t id) {
    for (const CommandText& text : CommandTexts) {
        if (text.id == id) {
            return &text;
        }
    }
    return nullptr;
}

std::span<const StatusPane> StatusPanes() {
    return Panes;
}

bool IsInert(uint32_t id) {
    switch (id) {
        case ID_EDIT_UNDO:
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
        case ID_EDIT_PASTE:
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
            return true;
        default:
            return false;
    }
}

}  // namespace quolix::app::commands
