// 区域名の編集: the table of area names.
#pragma once

#include "editor/EditorPart.h"

class AreaNameEditor : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void AreaNameEditClick();
};
