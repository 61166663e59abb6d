#include "framework/CommandTarget.h"

namespace quolix {

CommandTarget::~CommandTarget() = default;

bool CommandTarget::OnCmdMsg(uint32_t) {
    return false;
}

bool CommandTarget::OnUpdateCmdUI(uint32_t, CCmdUI&) {
    return false;
}

bool CommandTarget::HasCmdHandler(uint32_t) const {
    return false;
}

}  // namespace quolix
