// Point editing: the edit popup's commands.
#pragma once

#include <cstdint>
#include "editor/EditorPart.h"

class InputPopup;
class TraceCommands;

class EditPopup : public EditorPart {
  public:
    EditPopup(Workbench& w, InputPopup& inputPopup, TraceCommands& tracing)
        : EditorPart(w), inputPopup_(inputPopup), tracing_(tracing) {}

    void Pop2AppendDot();
    void Pop2DelDot();
    void CutDotsClick();
    void DelLineClick();
    void SelectRun(int32_t& s, int32_t& e);

  private:
    InputPopup& inputPopup_;
    TraceCommands& tracing_;
};
