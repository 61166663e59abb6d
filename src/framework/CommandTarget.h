#pragma once

#include <cstdint>

namespace quolix {

class CCmdUI;

// Something on the command route (view, document, frame, application) that may
// handle commands and decide their enabling. By default it handles nothing.
// A target keeps OnCmdMsg and HasCmdHandler in step: HasCmdHandler(id) is true
// exactly when OnCmdMsg(id) would run a handler.
class CommandTarget {
  public:
    CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;
    virtual ~CommandTarget();

    // Runs the handler of this command; true when there was one.
    virtual bool OnCmdMsg(uint32_t id);
    // True when this target has an update handler for the command; that
    // handler has then told cmdUI whether the command is enabled.
    virtual bool OnUpdateCmdUI(uint32_t id, CCmdUI& cmdUI);
    // Whether OnCmdMsg(id) would run a handler, without running it.
    virtual bool HasCmdHandler(uint32_t id) const;
};

}  // namespace quolix
