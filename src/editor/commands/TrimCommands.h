// Trimming: the trimming popup's commands, which cut the map inside or
// outside the outline the trimming tool has set.
#pragma once

#include "editor/EditorPart.h"

class TrimCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void SweepCuttingClick();
    void HoleCuttingClick();
    void CancelCuttingClick();
};
