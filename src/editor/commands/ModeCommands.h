// The mode commands of the 作図 menu and the buttons, the legend's mode, and
// the help menu's items.
#pragma once

#include "editor/EditorPart.h"

class ModeCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void BuildModeClick();
    void EditModeClick();
    void LineKindModeClick();
    void CuttingModeClick();
    void PickUpModeClick();
    void IndexPosClick();
    void CheckShowHintClick();
    void HelpContentsClick();
    void AboutVelmotClick();
};
