#include "framework/CommandRouter.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CCmdUI.h"
#include "framework/CommandTarget.h"

namespace quolix {
namespace {

// A route stop with a configurable set of command and update handlers; every
// command handler that runs is logged with the stop's name.
class ScriptedTarget : public CommandTarget {
  public:
    ScriptedTarget(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}

    bool OnCmdMsg(uint32_t id) override {
        if (!HasCmdHandler(id)) {
            return false;
        }
        log_.push_back(name_ + " " + std::to_string(id));
        return true;
    }
    bool OnUpdateCmdUI(uint32_t id, CCmdUI& cmdUI) override {
        auto found = updates.find(id);
        if (found == updates.end()) {
            return false;
        }
        if (found->second == Update::Enable) {
            cmdUI.Enable(true);
        } else if (found->second == Update::Disable) {
            cmdUI.Enable(false);
        }
        return true;
    }
    bool HasCmdHandler(uint32_t id) const override {
        for (uint32_t handled : commands) {
            if (handled == id) {
                return true;
            }
        }
        return false;
    }

    enum class Update { Enable, Disable, Silent };
    std::vector<uint32_t> commands;
    std::map<uint32_t, Update> updates;

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

constexpr uint32_t Cmd = 100;

class CommandRouterTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;
    ScriptedTarget view{"view", log};
    ScriptedTarget document{"document", log};
    ScriptedTarget frame{"frame", log};
    ScriptedTarget application{"application", log};
    CommandRouter router{&view, &document, &frame, &application};
};

TEST_F(CommandRouterTest, CommandWithoutAnyHandlerIsDisabledAndNotExecuted) {
    EXPECT_FALSE(router.IsEnabled(Cmd));
    EXPECT_FALSE(router.Execute(Cmd));
    EXPECT_TRUE(log.empty());
}

TEST_F(CommandRouterTest, FirstStopWithACommandHandlerWins) {
    struct Case {
        bool view, document, frame, application;
        std::string expected;
    };
    const Case cases[] = {
        {true, true, true, true, "view 100"},
        {false, true, true, true, "document 100"},
        {false, false, true, true, "frame 100"},
        {false, false, false, true, "application 100"},
    };
    for (const Case& c : cases) {
        log.clear();
        view.commands = c.view ? std::vector<uint32_t>{Cmd} : std::vector<uint32_t>{};
        document.commands = c.document ? std::vector<uint32_t>{Cmd} : std::vector<uint32_t>{};
        frame.commands = c.frame ? std::vector<uint32_t>{Cmd} : std::vector<uint32_t>{};
        application.commands = c.application ? std::vector<uint32_t>{Cmd} : std::vector<uint32_t>{};
        EXPECT_TRUE(router.IsEnabled(Cmd)) << c.expected;
        EXPECT_TRUE(router.Execute(Cmd)) << c.expected;
        EXPECT_EQ(log, std::vector<std::string>{c.expected});
    }
}

TEST_F(CommandRouterTest, CommandHandlerWithoutUpdateHandlerIsEnabled) {
    frame.commands = {Cmd};
    EXPECT_TRUE(router.IsEnabled(Cmd));
}

TEST_F(CommandRouterTest, UpdateHandlerDecidesEnabling) {
    application.commands = {Cmd};
    document.updates[Cmd] = ScriptedTarget::Update::Disable;
    EXPECT_FALSE(router.IsEnabled(Cmd));
    EXPECT_FALSE(router.Execute(Cmd));
    EXPECT_TRUE(log.empty());

    document.updates[Cmd] = ScriptedTarget::Update::Enable;
    EXPECT_TRUE(router.IsEnabled(Cmd));
    EXPECT_TRUE(router.Execute(Cmd));
    EXPECT_EQ(log, std::vector<std::string>{"application 100"});
}

TEST_F(CommandRouterTest, FirstUpdateHandlerOnTheRouteWins) {
    view.commands = {Cmd};
    view.updates[Cmd] = ScriptedTarget::Update::Disable;
    frame.updates[Cmd] = ScriptedTarget::Update::Enable;
    EXPECT_FALSE(router.IsEnabled(Cmd));

    view.updates.clear();
    document.updates[Cmd] = ScriptedTarget::Update::Enable;
    frame.updates[Cmd] = ScriptedTarget::Update::Disable;
    EXPECT_TRUE(router.IsEnabled(Cmd));
}

TEST_F(CommandRouterTest, UpdateHandlerAloneCanEnableACommandNobodyRuns) {
    view.updates[Cmd] = ScriptedTarget::Update::Enable;
    EXPECT_TRUE(router.IsEnabled(Cmd));
    EXPECT_FALSE(router.Execute(Cmd));
}

TEST_F(CommandRouterTest, SilentUpdateHandlerLeavesItToTheCommandHandler) {
    view.updates[Cmd] = ScriptedTarget::Update::Silent;
    EXPECT_FALSE(router.IsEnabled(Cmd));
    // A later stop's update handler is not asked once one has answered.
    frame.updates[Cmd] = ScriptedTarget::Update::Enable;
    EXPECT_FALSE(router.IsEnabled(Cmd));
    application.commands = {Cmd};
    EXPECT_TRUE(router.IsEnabled(Cmd));
}

TEST_F(CommandRouterTest, MissingStopsAreSkipped) {
    CommandRouter partial(nullptr, &document, nullptr, &application);
    application.commands = {Cmd};
    EXPECT_TRUE(partial.Execute(Cmd));
    EXPECT_EQ(log, std::vector<std::string>{"application 100"});

    CommandRouter empty;
    EXPECT_FALSE(empty.IsEnabled(Cmd));
    EXPECT_FALSE(empty.Execute(Cmd));
}

TEST_F(CommandRouterTest, StopsCanBeAttachedLater) {
    CommandRouter later;
    frame.commands = {Cmd};
    later.SetFrame(&frame);
    EXPECT_TRUE(later.Execute(Cmd));
    view.commands = {Cmd};
    later.SetView(&view);
    later.SetDocument(&document);
    later.SetApplication(&application);
    EXPECT_TRUE(later.Execute(Cmd));
    EXPECT_EQ(log, (std::vector<std::string>{"frame 100", "view 100"}));
}

TEST_F(CommandRouterTest, OtherCommandsAreUnaffected) {
    view.commands = {Cmd};
    view.updates[Cmd] = ScriptedTarget::Update::Enable;
    EXPECT_FALSE(router.IsEnabled(Cmd + 1));
    EXPECT_FALSE(router.Execute(Cmd + 1));
    EXPECT_TRUE(log.empty());
}

TEST(CommandTargetTest, DefaultTargetHandlesNothing) {
    CommandTarget target;
    CCmdUI cmdUI;
    EXPECT_FALSE(target.OnCmdMsg(Cmd));
    EXPECT_FALSE(target.OnUpdateCmdUI(Cmd, cmdUI));
    EXPECT_FALSE(target.HasCmdHandler(Cmd));
    EXPECT_FALSE(cmdUI.EnableCalled());
}

}  // namespace
}  // namespace quolix
