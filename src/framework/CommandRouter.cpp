#include "framework/CommandRouter.h"

#include "framework/CCmdUI.h"
#include "framework/CommandTarget.h"

namespace quolix {

CommandRouter::CommandRouter(CommandTarget* view, CommandTarget* document, CommandTarget* frame,
                             CommandTarget* application)
    : route_{view, document, frame, application} {}

bool CommandRouter::IsEnabled(uint32_t id) {
    CCmdUI cmdUI;
    for (CommandTarget* target : route_) {
        if (target != nullptr && target->OnUpdateCmdUI(id, cmdUI)) {
            if (cmdUI.EnableCalled()) {
                return cmdUI.IsEnabled();
            }
            break;
        }
    }
    return HasCmdHandler(id);
}

bool CommandRouter::Execute(uint32_t id) {
    if (!IsEnabled(id)) {
        return false;
    }
    for (CommandTarget* target : route_) {
        if (target != nullptr && target->OnCmdMsg(id)) {
            return true;
        }
    }
    return false;
}

bool CommandRouter::HasCmdHandler(uint32_t id) const {
    for (const CommandTarget* target : route_) {
        if (target != nullptr && target->HasCmdHandler(id)) {
            return true;
        }
    }
    return false;
}

}  // namespace quolix
