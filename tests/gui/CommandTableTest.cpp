#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace quolix {
namespace {

using Kind = CommandTable::MenuEntry::Kind;

void CollectMenuCommands(std::span<const CommandTable::MenuEntry> entries,
                         std::vector<const CommandTable::MenuEntry*>& out) {
    for (const CommandTable::MenuEntry& entry : entries) {
        if (entry.kind == Kind::Command) {
            out.push_back(&entry);
        } else if (entry.kind == Kind::Popup) {
            CollectMenuCommands(entry.items, out);
        }
    }
}

std::vector<const CommandTable::MenuEntry*> MenuCommands() {
    std::vector<const CommandTable::MenuEntry*> commands;
    CollectMenuCommands(CommandTable::MainMenu(), commands);
    return commands;
}

TEST(CommandTableTest, EveryMenuHintNamesAnAcceleratorOfTheSameCommand) {
    int hints = 0;
    for (const CommandTable::MenuEntry* entry : MenuCommands()) {
        if (entry->acceleratorText.empty()) {
            continue;
        }
        ++hints;
        bool found = false;
        for (const CommandTable::Accelerator& a : CommandTable::Accelerators()) {
            found = found || (a.id == entry->id &&
                              CommandTable::AcceleratorText(a) == entry->acceleratorText);
        }
        EXPECT_TRUE(found) << entry->id;
    }
    EXPECT_EQ(hints, 4);
}

TEST(CommandTableTest, EveryCommandNamedAnywhereHasItsTexts) {
    std::set<uint32_t> named;
    for (const CommandTable::MenuEntry* entry : MenuCommands()) {
        named.insert(entry->id);
    }
    for (const uint32_t id : CommandTable::ToolbarButtons()) {
        if (id != CommandTable::ToolbarSeparator) {
            named.insert(id);
            ASSERT_NE(CommandTable::FindCommand(id), nullptr) << id;
            EXPECT_FALSE(CommandTable::FindCommand(id)->image.empty()) << id;
        }
    }
    for (const CommandTable::Accelerator& a : CommandTable::Accelerators()) {
        named.insert(a.id);
    }
    for (const uint32_t id : named) {
        const CommandTable::CommandText* text = CommandTable::FindCommand(id);
        ASSERT_NE(text, nullptr) << id;
        EXPECT_FALSE(text->prompt.empty()) << id;
        EXPECT_FALSE(text->toolTip.empty()) << id;
    }
    EXPECT_EQ(CommandTable::FindCommand(1), nullptr);
}

TEST(CommandTableTest, CommandsAreListedOnce) {
    std::set<uint32_t> seen;
    for (const CommandTable::CommandText& text : CommandTable::Commands()) {
        EXPECT_TRUE(seen.insert(text.id).second) << text.id;
    }
}

TEST(CommandTableTest, InertCommandsAreTheEditAndPaneKeysOnly) {
    std::set<uint32_t> inert;
    for (const CommandTable::CommandText& text : CommandTable::Commands()) {
        if (CommandTable::IsInert(text.id)) {
            inert.insert(text.id);
        }
    }
    EXPECT_EQ(inert, (std::set<uint32_t>{57634, 57635, 57637, 57643, 57680, 57681}));
    // They are reachable by key only: no menu entry, no button.
    for (const CommandTable::MenuEntry* entry : MenuCommands()) {
        EXPECT_FALSE(CommandTable::IsInert(entry->id)) << entry->id;
    }
    for (const uint32_t id : CommandTable::ToolbarButtons()) {
        EXPECT_FALSE(CommandTable::IsInert(id)) << id;
    }
}

struct TextCase {
    CommandTable::Accelerator accelerator;
    const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.text;
}

class AcceleratorTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(AcceleratorTextTest, HintFormNamesModifiersThenKey) {
    EXPECT_EQ(CommandTable::AcceleratorText(GetParam().accelerator), GetParam().text);
}

using Key = CommandTable::Key;
INSTANTIATE_TEST_SUITE_P(
    Keys, AcceleratorTextTest,
    testing::Values(TextCase{{CommandTable::Ctrl, Key::N, 0}, "Ctrl+N"},
                    TextCase{{CommandTable::Alt, Key::Backspace, 0}, "Alt+Backspace"},
                    TextCase{{CommandTable::Shift, Key::Delete, 0}, "Shift+Delete"},
                    TextCase{{CommandTable::Ctrl, Key::Insert, 0}, "Ctrl+Insert"},
                    TextCase{{CommandTable::NoModifier, Key::F6, 0}, "F6"},
                    TextCase{{CommandTable::Ctrl | CommandTable::Shift, Key::P, 0},
                             "Ctrl+Shift+P"}));

}  // namespace
}  // namespace quolix
