// Point editing: the edit popup's commands.
#pragma once

#include <cstdint>
#include "editor/commands/HandlerGroup.h"

class EditPopup : public HandlerGroup {
  public:
    using HandlerGroup::HandlerGroup;

    void Pop2AppendDot();
    void Pop2DelDot();
    void CutDotsClick();
    void DelLineClick();
    void SelectRun(int32_t& s, int32_t& e);
};
