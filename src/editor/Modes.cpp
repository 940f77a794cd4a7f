// The mode commands and the enabling of commands.
#include "editor/Editor.h"
#include "base/Messages.h"

// The composed outlines hold every inner boundary twice; editing needs the
// plain network back.
void Editor::UndoComposed() {
    if (!st.Composed) return;
    ui.SetBusy(true);
    const int32_t before = st.PointLast;
    RemoveRepeatedSegments();
    if (st.PointLast != before) doc.MarkChanged();
    RestoreCursor();
}

// The mode commands; each mode's entry and exit steps are its tool's
// (editor/tools/), and Editor::SwitchMode runs them.
void Editor::BuildModeClick() {
    SwitchMode(Mode::Input);
}

void Editor::EditModeClick() {
    SwitchMode(Mode::Edit);
}

void Editor::LineKindModeClick() {
    SwitchMode(Mode::LineKind);
}

void Editor::CuttingModeClick() {
    SwitchMode(Mode::Trimming);
}

void Editor::PickUpModeClick() {
    SwitchMode(Mode::Jigsaw);
}

void Editor::InitCommandStates() {
    for (Cmd c : {Cmd::WriteMap, Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::ZoneArrange,
                  Cmd::ReMakeLine, Cmd::SpBmpMono, Cmd::SpBmpExpand, Cmd::SpAreaPos, Cmd::SpRemake})
        ui.SetEnabled(c, false);
    ui.SetEnabled(Cmd::BMPclear, true);
}

void Editor::EnablePictureCommands() {
    for (Cmd c :
         {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::BMPclear, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        ui.SetEnabled(c, true);
}

void Editor::DisablePictureCommands() {
    for (Cmd c : {Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::SpBmpMono, Cmd::SpBmpExpand})
        ui.SetEnabled(c, false);
    ui.SetEnabled(Cmd::BMPclear, true);
}

void Editor::EnableAreaPosCommands() {
    ui.SetEnabled(Cmd::ZoneArrange, true);
    ui.SetEnabled(Cmd::SpAreaPos, true);
}

void Editor::DisableAreaPosCommands() {
    ui.SetEnabled(Cmd::ZoneArrange, false);
    ui.SetEnabled(Cmd::SpAreaPos, false);
}

void Editor::EnableRemakeCommands() {
    ui.SetEnabled(Cmd::ReMakeLine, true);
    ui.SetEnabled(Cmd::SpRemake, true);
}

void Editor::DisableRemakeCommands() {
    ui.SetEnabled(Cmd::ReMakeLine, false);
    ui.SetEnabled(Cmd::SpRemake, false);
}

void Editor::CheckMainMenu() {
    ui.SetCaption(Cmd::BMPshowhide, st.BasePicShown ? msg::Text(Msg::MenuHidePicture)
                                                    : msg::Text(Msg::MenuShowPicture));
    ui.SetEnabled(Cmd::BMPclear, st.BasePicLoaded);
    ui.SetEnabled(Cmd::BMPshowhide, st.BasePicLoaded);
}

void Editor::ApplyHintSetting() {
    const bool on = settings.showHint == 1;
    ui.SetChecked(Cmd::CheckShowHint, on);
    ui.SetHintsShown(on);
}

void Editor::CheckShowHintClick() {
    settings.showHint = settings.showHint == 1 ? 0 : 1;
    ApplyHintSetting();
}

void Editor::HelpContentsClick() {
    ui.HelpContents();
}

void Editor::AboutVelmotClick() {
    ui.AboutBox();
}
