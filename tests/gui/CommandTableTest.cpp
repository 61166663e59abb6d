#include "app/CommandTable.h"

#include <set>
#include <string>

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

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
    std::vector<const commands::MenuEntry*> found;
    CollectMenuCommands(commands::MainMenu(), found);
    return found;
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
            const std::string image(commands::FindCommand(id)->image);
            ASSERT_FALSE(image.empty()) << id;
            // Screens at twice the density get a drawing of twice the size.
            const QString path = QStringLiteral(":/quolix/") + QString::fromStdString(image);
            const QImage single(path);
            ASSERT_FALSE(single.isNull()) << image;
            EXPECT_EQ(
                QImage(QString(path).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")))
                    .size(),
                single.size() * 2)
                << image;
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

}  // namespace
}  // namespace quolix::app
