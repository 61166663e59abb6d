#pragma once

namespace quolix {

// What an update handler receives: it says whether one command is enabled.
// The router reads the answer back; a handler that never calls Enable leaves
// the decision to whether the command has a handler at all.
class CCmdUI {
  public:
    void Enable(bool on = true) {
        enabled_ = on;
        enableCalled_ = true;
    }

    bool IsEnabled() const { return enabled_; }
    bool EnableCalled() const { return enableCalled_; }

  private:
    bool enabled_ = false;
    bool enableCalled_ = false;
};

}  // namespace quolix
