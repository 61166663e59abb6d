#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quolix::app::commands {

// The main frame's command resources as plain data: menu tree, toolbar,
// accelerators, status-bar prompts and tooltips, status panes.
//
// Unlike the rest of the system, whose text is CP932, these texts are UTF-8:
// they never reach a file, a setting or the system's logic, only Qt, which
// takes UTF-8 directly. Converting them through CP932 would gain nothing.
struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Separator;
    std::string_view text;             // with its "&" mnemonic
    uint32_t id = 0;                   // Command only
    std::span<const MenuEntry> items;  // Popup only
};

// Modifier bits of an accelerator.
enum Modifier : uint8_t { NoModifier = 0, Ctrl = 1, Shift = 2, Alt = 4 };
enum class Key : uint8_t { N, O, S, P, Z, X, C, V, Backspace, Delete, Insert, F6 };
struct Accelerator {
    uint8_t modifiers = NoModifier;
    Key key = Key::N;
    uint32_t id = 0;
};

struct CommandText {
    uint32_t id = 0;
    std::string_view prompt;   // status-bar prompt
    std::string_view toolTip;  // short name for tool tips
    // Toolbar image under the resource prefix, or empty when the command has no button.
    std::string_view image;
};

// A status-bar pane: the message pane (id 0), then the key indicators.
struct StatusPane {
    uint32_t id = 0;
    std::string_view text;
};

inline constexpr uint32_t ToolbarSeparator = 0;
inline constexpr uint32_t MessagePane = 0;
inline constexpr uint32_t IndicatorCaps = 59137;
inline constexpr uint32_t IndicatorNum = 59138;
inline constexpr uint32_t IndicatorScrl = 59139;
inline constexpr uint32_t IndicatorKana = 59142;

inline constexpr std::string_view IdleText = "ﾚﾃﾞｨ";

// The five popups of the menu bar, left to right.
std::span<const MenuEntry> MainMenu();
// Button command ids left to right, ToolbarSeparator between groups.
std::span<const uint32_t> ToolbarButtons();
std::span<const Accelerator> Accelerators();
// One entry per command the frame knows, menu, toolbar or accelerator.
std::span<const CommandText> Commands();
const CommandText* FindCommand(uint32_t id);  // null when unknown
std::span<const StatusPane> StatusPanes();

// Commands that only an accelerator names and that nothing handles anywhere
// (the edit and pane keys): they stay disabled so that they never consume a key.
bool IsInert(uint32_t id);

}  // namespace quolix::app::commands
