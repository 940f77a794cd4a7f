// Line kinds: the kind popup's commands, which mark a run as a second
// boundary, a division or an auxiliary line, or take the mark back.
#pragma once

#include <cstdint>
#include "editor/EditorPart.h"

class KindCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void SecLineClick();
    void AbsLineClick();
    void AstLineClick();
    void RelSecLineClick();
    void RelAbsLineClick();
    void RelAstLineClick();
    void SelectKindRun(int32_t& s, int32_t& e);
};
