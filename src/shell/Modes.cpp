// Placeholder bodies until this subsystem lands.
#include "core/Editor.h"

#include "core/NotBuilt.h"

void Editor::BuildModeClick() {
    NotBuilt(ui, "BuildModeClick");
}

void Editor::EditModeClick() {
    NotBuilt(ui, "EditModeClick");
}

void Editor::LineKindModeClick() {
    NotBuilt(ui, "LineKindModeClick");
}

void Editor::CuttingModeClick() {
    NotBuilt(ui, "CuttingModeClick");
}

void Editor::PickUpModeClick() {
    NotBuilt(ui, "PickUpModeClick");
}

void Editor::InitCommandStates() {
    NotBuilt(ui, "InitCommandStates");
}

void Editor::EnablePictureCommands() {
    NotBuilt(ui, "EnablePictureCommands");
}

void Editor::DisablePictureCommands() {
    NotBuilt(ui, "DisablePictureCommands");
}

void Editor::EnableAreaPosCommands() {
    NotBuilt(ui, "EnableAreaPosCommands");
}

void Editor::DisableAreaPosCommands() {
    NotBuilt(ui, "DisableAreaPosCommands");
}

void Editor::EnableRemakeCommands() {
    NotBuilt(ui, "EnableRemakeCommands");
}

void Editor::DisableRemakeCommands() {
    NotBuilt(ui, "DisableRemakeCommands");
}

void Editor::CheckMainMenu() {
    NotBuilt(ui, "CheckMainMenu");
}

void Editor::ApplyHintSetting() {
    NotBuilt(ui, "ApplyHintSetting");
}

void Editor::CheckShowHintClick() {
    NotBuilt(ui, "CheckShowHintClick");
}

void Editor::HelpContentsClick() {
    NotBuilt(ui, "HelpContentsClick");
}

void Editor::AboutVelmotClick() {
    NotBuilt(ui, "AboutVelmotClick");
}

SurfaceCursor Editor::ModeCursor() const {
    return SurfaceCursor::Arrow;
}

