// 区域名の編集: the table of area names.
#pragma once

#include "editor/commands/HandlerGroup.h"

class AreaNameEditor : public HandlerGroup {
  public:
    using HandlerGroup::HandlerGroup;

    void AreaNameEditClick();
};
