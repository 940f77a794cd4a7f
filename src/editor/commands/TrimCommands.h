// Trimming: the trimming popup's commands, which cut the map inside or
// outside the outline the trimming tool has set.
#pragma once

#include "editor/commands/HandlerGroup.h"

class TrimCommands : public HandlerGroup {
  public:
    using HandlerGroup::HandlerGroup;

    void SweepCuttingClick();
    void HoleCuttingClick();
    void CancelCuttingClick();
};
