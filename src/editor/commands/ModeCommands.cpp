// The mode commands of the 作図 menu and the buttons, the legend's mode, and
// the help menu.
#include "editor/commands/ModeCommands.h"

#include "editor/Services.h"

// The mode commands; each mode's entry and exit steps are its tool's
// (editor/tools/), and Modes::SwitchMode runs them.
void ModeCommands::BuildModeClick() {
    wb.modes.SwitchMode(Mode::Input);
}

void ModeCommands::EditModeClick() {
    wb.modes.SwitchMode(Mode::Edit);
}

void ModeCommands::LineKindModeClick() {
    wb.modes.SwitchMode(Mode::LineKind);
}

void ModeCommands::CuttingModeClick() {
    wb.modes.SwitchMode(Mode::Trimming);
}

void ModeCommands::PickUpModeClick() {
    wb.modes.SwitchMode(Mode::Jigsaw);
}

void ModeCommands::CheckShowHintClick() {
    settings.showHint = settings.showHint == 1 ? 0 : 1;
    wb.states.ApplyHintSetting();
}

void ModeCommands::HelpContentsClick() {
    ui.HelpContents();
}

void ModeCommands::AboutVelmotClick() {
    ui.AboutBox();
}

void ModeCommands::IndexPosClick() {
    wb.modes.SwitchMode(Mode::Legend);
}
