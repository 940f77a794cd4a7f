// The editing modes and the enabling of commands. A mode command sets Mode,
// the surface cursor, the two mode buttons and the check marks of the five
// mode menu items.
#include "core/Editor.h"

namespace {

const Cmd kModeItems[] = {Cmd::BuildMode, Cmd::EditMode, Cmd::LineKindMode, Cmd::CuttingMode,
                          Cmd::PickUpMode};

void CheckOnly(Ui& ui, Cmd item) {
    for (Cmd c : kModeItems) ui.SetChecked(c, c == item);
}

}  // namespace

SurfaceCursor Editor::ModeCursor() const {
    switch (st.Mode) {
        case Mode::Input:
            return SurfaceCursor::CrossLine;
        case Mode::Edit:
            return SurfaceCursor::CrossEdit;
        case Mode::Legend:
            return SurfaceCursor::IndexPosition;
        case Mode::LineKind:
            return SurfaceCursor::CrossKind;
        case Mode::Trimming:
            return SurfaceCursor::Cutter;
        case Mode::Jigsaw:
            return SurfaceCursor::PickUp;
        default:
            return SurfaceCursor::Arrow;
    }
}

// Line-kind colouring and a trimming outline exist only on the surface; the
// redraw (already in the new mode) wipes them when those modes are left.
void Editor::RedrawOnLeave(Mode newMode) {
    if (st.Mode == Mode::LineKind || st.Mode == Mode::Trimming) {
        st.Mode = newMode;
        ReDraw();
    }
}

// The composed outlines hold every inner boundary twice; editing needs the
// plain network back.
void Editor::UndoComposed() {
    if (!st.Composed) return;
    ui.SetBusy(true);
    const int32_t before = st.PointLast;
    RemoveRepeatedSegments();
    if (st.PointLast != before) st.Modified = true;
    RestoreCursor();
}

void Editor::BuildModeClick() {
    RedrawOnLeave(Mode::Input);
    st.Mode = Mode::Input;
    st.TempPolyLast = -1;
    ui.SetModeButtons(true, false);
    CheckOnly(ui, Cmd::BuildMode);
    ui.SetSurfaceCursor(SurfaceCursor::CrossLine);
}

void Editor::EditModeClick() {
    RedrawOnLeave(Mode::Edit);
    UndoComposed();
    st.Mode = Mode::Edit;
    st.TempPolyLast = -1;
    ui.SetModeButtons(false, true);
    CheckOnly(ui, Cmd::EditMode);
    ui.SetSurfaceCursor(SurfaceCursor::CrossEdit);
    st.Completed = false;
    EnableRemakeCommands();
}

void Editor::LineKindModeClick() {
    UndoComposed();
    st.Mode = Mode::LineKind;
    st.TempPolyLast = -1;
    ui.SetModeButtons(false, false);
    CheckOnly(ui, Cmd::LineKindMode);
    ui.SetSurfaceCursor(SurfaceCursor::CrossKind);
    ShowKinds();
    st.Completed = false;
    EnableRemakeCommands();
}

void Editor::CuttingModeClick() {
    RedrawOnLeave(Mode::Trimming);
    st.Mode = Mode::Trimming;
    st.TempPolyLast = -1;
    ui.SetModeButtons(false, false);
    CheckOnly(ui, Cmd::CuttingMode);
    ui.SetSurfaceCursor(SurfaceCursor::Cutter);
}

void Editor::PickUpModeClick() {
    // Pieces are found through the composed outlines, which must be current.
    if (!st.Completed) {
        ui.Inform(QStringLiteral("その前に再度、完成－境界線最終編成を行ってください。"),
                  QStringLiteral("お願い"), MsgIcon::None);
        return;
    }
    RedrawOnLeave(Mode::Jigsaw);
    st.Mode = Mode::Jigsaw;
    st.TempPolyLast = -1;
    ui.SetModeButtons(false, false);
    CheckOnly(ui, Cmd::PickUpMode);
    ui.SetSurfaceCursor(SurfaceCursor::PickUp);
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
    ui.SetCaption(Cmd::BMPshowhide, st.BasePicShown ? QStringLiteral("下絵を隠す(&H)")
                                                    : QStringLiteral("下絵の再表示(&H)"));
    ui.SetEnabled(Cmd::BMPclear, st.BasePicLoaded);
    ui.SetEnabled(Cmd::BMPshowhide, st.BasePicLoaded);
}

void Editor::ApplyHintSetting() {
    const bool on = st.ShowHintSetting == 1;
    ui.SetChecked(Cmd::CheckShowHint, on);
    ui.SetHintsShown(on);
}

void Editor::CheckShowHintClick() {
    st.ShowHintSetting = st.ShowHintSetting == 1 ? 0 : 1;
    ApplyHintSetting();
}

void Editor::HelpContentsClick() {
    ui.HelpContents();
}

void Editor::AboutVelmotClick() {
    ui.AboutBox();
}
