// Point editing: the edit popup's commands.
#pragma once

#include <cstdint>
#include "editor/EditorPart.h"

class EditPopup : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void Pop2AppendDot();
    void Pop2DelDot();
    void CutDotsClick();
    void DelLineClick();
    void SelectRun(int32_t& s, int32_t& e);
};
