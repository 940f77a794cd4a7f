// Line kinds: the kind popup's commands, which mark a run as a second
// boundary, a division or an auxiliary line, or take the mark back.
#pragma once

#include <cstdint>
#include "editor/EditorPart.h"

class EditPopup;
class InputPopup;

class KindCommands : public EditorPart {
  public:
    KindCommands(Workbench& w, EditPopup& editPopup, InputPopup& inputPopup)
        : EditorPart(w), editPopup_(editPopup), inputPopup_(inputPopup) {}

    void SecLineClick();
    void AbsLineClick();
    void AstLineClick();
    void RelSecLineClick();
    void RelAbsLineClick();
    void RelAstLineClick();
    void SelectKindRun(int32_t& s, int32_t& e);

  private:
    // Marks the run at the popup's place as a line of this kind.
    void AddKind(int16_t code);
    EditPopup& editPopup_;
    InputPopup& inputPopup_;
};
