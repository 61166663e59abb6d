#pragma once

#include <array>
#include <cstdint>

namespace quolix {

class CommandTarget;

// Routes commands along view, document, frame, application; the first target
// with a handler wins. Any target may be missing (null), for example the frame
// in a test or the view before the frame has created it.
class CommandRouter {
  public:
    CommandRouter() = default;
    CommandRouter(CommandTarget* view, CommandTarget* document, CommandTarget* frame,
                  CommandTarget* application);

    void SetView(CommandTarget* view) { route_[0] = view; }
    void SetDocument(CommandTarget* document) { route_[1] = document; }
    void SetFrame(CommandTarget* frame) { route_[2] = frame; }
    void SetApplication(CommandTarget* application) { route_[3] = application; }

    // An update handler decides when there is one; otherwise a command with a
    // handler is enabled and one without is disabled.
    bool IsEnabled(uint32_t id);
    // Runs the command's handler when the command is enabled; true when one ran.
    bool Execute(uint32_t id);

  private:
    bool HasCmdHandler(uint32_t id) const;

    std::array<CommandTarget*, 4> route_{};
};

}  // namespace quolix
