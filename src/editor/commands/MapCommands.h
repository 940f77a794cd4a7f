// Moving and scaling the whole map.
#pragma once

#include "editor/EditorPart.h"

class MapCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void MoveMapClick();
};
