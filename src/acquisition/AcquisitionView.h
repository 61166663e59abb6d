#pragma once

#include "framework/CView.h"

namespace quolix {

// What the sample store needs of its first view: resetting the recording
// state when the store is emptied.
class AcquisitionView : public CView {
  public:
    virtual void ResetAcquisition() = 0;
};

}  // namespace quolix
