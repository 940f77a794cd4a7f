// Moving and scaling the whole map.
#pragma once

#include "editor/commands/HandlerGroup.h"

class MapCommands : public HandlerGroup {
  public:
    using HandlerGroup::HandlerGroup;

    void MoveMapClick();
};
