// The mode commands of the 作図 menu and the buttons, the legend's mode, and
// the help menu.
#include "editor/commands/ModeCommands.h"

#include "editor/Editor.h"

// The mode commands; each mode's entry and exit steps are its tool's
// (editor/tools/), and Modes::SwitchMode runs them.
void ModeCommands::BuildModeClick() {
    ed.modes.SwitchMode(Mode::Input);
}

void ModeCommands::EditModeClick() {
    ed.modes.SwitchMode(Mode::Edit);
}

void ModeCommands::LineKindModeClick() {
    ed.modes.SwitchMode(Mode::LineKind);
}

void ModeCommands::CuttingModeClick() {
    ed.modes.SwitchMode(Mode::Trimming);
}

void ModeCommands::PickUpModeClick() {
    ed.modes.SwitchMode(Mode::Jigsaw);
}

void ModeCommands::CheckShowHintClick() {
    settings.showHint = settings.showHint == 1 ? 0 : 1;
    ed.states.ApplyHintSetting();
}

void ModeCommands::HelpContentsClick() {
    ui.HelpContents();
}

void ModeCommands::AboutVelmotClick() {
    ui.AboutBox();
}

void ModeCommands::IndexPosClick() {
    ed.modes.SwitchMode(Mode::Legend);
}
