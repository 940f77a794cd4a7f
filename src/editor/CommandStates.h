// Which menu items and buttons are enabled and checked.
#pragma once

#include "editor/EditorPart.h"

class CommandStates : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void InitCommandStates();
    void EnablePictureCommands();
    void DisablePictureCommands();
    void EnableAreaPosCommands();
    void DisableAreaPosCommands();
    void EnableRemakeCommands();
    void DisableRemakeCommands();
    void CheckMainMenu();
    void ApplyHintSetting();
};
