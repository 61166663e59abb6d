#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace quolix::app {
namespace {

using Kind = commands::MenuEntry::Kind;

void CollectMenuCommands(std::span<const commands::MenuEntry> entries,
                         std::vector<const commands::MenuEntry*>& out) {
    for (const commands::MenuEntry& entry : entries) {
        if (entry.kind == Kind::Command) {
            out.push_back(&entry);
        } else if (entry.kind == Kind::Popup) {
            CollectMenuCommands(entry.items, out);
        }
    }
}

std::vector<const commands::MenuEntry*> MenuCommands() {
    std::vector<const commands::MenuEntry*> commands;
    CollectMenuCommands(commands::MainMenu(), commands);
    return commands;
}

TEST(CommandTableTest, EveryMenuHintNamesAnAcceleratorOfTheSameCommand) {
    int hints = 0;
    for (const commands::MenuEntry* entry : MenuCommands()) {
        if (entry->acceleratorText.empty()) {
            continue;
        }
        ++hints;
        bool found = false;
        for (const commands::Accelerator& a : commands::Accelerators()) {
            found = found ||
                    (a.id == entry->id && commands::AcceleratorText(a) == entry->acceleratorText);
        }
        EXPECT_TRUE(found) << entry->id;
    }
    EXPECT_EQ(hints, 4);
}

TEST(CommandTableTest, EveryCommandNamedAnywhereHasItsTexts) {
    std::set<uint32_t> named;
    for (const commands::MenuEntry* entry : MenuCommands()) {
        named.insert(entry->id);
    }
    for (const uint32_t id : commands::ToolbarButtons()) {
        if (id != commands::ToolbarSeparator) {
            named.insert(id);
            ASSERT_NE(commands::FindCommand(id), nullptr) << id;
            EXPECT_FALSE(commands::FindCommand(id)->image.empty()) << id;
        }
    }
    for (const commands::Accelerator& a : commands::Accelerators()) {
        named.insert(a.id);
    }
    for (const uint32_t id : named) {
        const commands::CommandText* text = commands::FindCommand(id);
        ASSERT_NE(text, nullptr) << id;
        EXPECT_FALSE(text->prompt.empty()) << id;
        EXPECT_FALSE(text->toolTip.empty()) << id;
    }
    EXPECT_EQ(commands::FindCommand(1), nullptr);
}

TEST(CommandTableTest, CommandsAreListedOnce) {
    std::set<uint32_t> seen;
    for (const commands::CommandText& text : commands::Commands()) {
        EXPECT_TRUE(seen.insert(text.id).second) << text.id;
    }
}

TEST(CommandTableTest, InertCommandsAreTheEditAndPaneKeysOnly) {
    std::set<uint32_t> inert;
    for (const commands::CommandText& text : commands::Commands()) {
        if (commands::IsInert(text.id)) {
            inert.insert(text.id);
        }
    }
    EXPECT_EQ(inert, (std::set<uint32_t>{57634, 57635, 57637, 57643, 57680, 57681}));
    // They are reachable by key only: no menu entry, no button.
    for (const commands::MenuEntry* entry : MenuCommands()) {
        EXPECT_FALSE(commands::IsInert(entry->id)) << entry->id;
    }
    for (const uint32_t id : commands::ToolbarButtons()) {
        EXPECT_FALSE(commands::IsInert(id)) << id;
    }
}

struct TextCase {
    commands::Accelerator accelerator;
    const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.text;
}

class AcceleratorTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(AcceleratorTextTest, HintFormNamesModifiersThenKey) {
    EXPECT_EQ(commands::AcceleratorText(GetParam().accelerator), GetParam().text);
}

using Key = commands::Key;
INSTANTIATE_TEST_SUITE_P(
    Keys, AcceleratorTextTest,
    testing::Values(TextCase{{commands::Ctrl, Key::N, 0}, "Ctrl+N"},
                    TextCase{{commands::Alt, Key::Backspace, 0}, "Alt+Backspace"},
                    TextCase{{commands::Shift, Key::Delete, 0}, "Shift+Delete"},
                    TextCase{{commands::Ctrl, Key::Insert, 0}, "Ctrl+Insert"},
                    TextCase{{commands::NoModifier, Key::F6, 0}, "F6"},
                    TextCase{{commands::Ctrl | commands::Shift, Key::P, 0}, "Ctrl+Shift+P"}));

}  // namespace
}  // namespace quolix::app
