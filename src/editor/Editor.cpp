#include "editor/Editor.h"

#include "editor/commands/ControlPoints.h"
#include "editor/tools/Tools.h"
#include "editor/tools/Tool.h"
#include "ops/PointAt.h"

Editor::Editor(Ui& u)
    : uiRec_(u),
      ui(uiRec_),
      progress(ProgressOn(u)),
      bench{ui,     doc,    st,    surf,  progress,     settings, temps,
            canvas, states, modes, steps, sessionFiles, upkeep},
      controlPoints(std::make_unique<ControlPoints>(bench)),
      canvas(bench),
      modes(bench, input, areaPositions, *controlPoints),
      states(bench),
      steps(bench, uiRec_, areaPositions, problems, *controlPoints),
      sessionFiles(bench, files),
      upkeep(bench),
      input(bench),
      editing(bench, input, tracing),
      kinds(bench, editing, input),
      trimming(bench),
      mapCommands(bench),
      picture(bench, files),
      areaNames(bench),
      areaPositions(bench),
      problems(bench, tracing, composer),
      composer(bench),
      files(bench, finishedMaps),
      finishedMaps(bench, files),
      tracing(bench, picture, problems),
      modeCommands(bench),
      startup(bench, files) {}

Editor::~Editor() = default;

void Editor::InitMain(const QString& programPath, const QString& settingsDir) {
    startup.InitMain(programPath, settingsDir);
}

bool Editor::CloseQuery() {
    return startup.CloseQuery();
}

void Editor::CloseMain(QRect normalBounds, bool maximized) {
    startup.CloseMain(normalBounds, maximized);
}

void Editor::MouseDown(Qt::MouseButton button, int x, int y) {
    StepScope scope(steps);
    if (button == Qt::RightButton) {
        ui.AttachPopup(Popup::None);
        SetClick(Clamp16(x), Clamp16(y));
    }
    modes.CurrentTool().Press(button, QPoint(x, y));
    doc.MarkChanged();
    states.EnableRemakeCommands();
}

void Editor::MouseMove(int x, int y) {
    ui.SetMouseXY(canvas.MouseReadout(x, y));
    modes.CurrentTool().Move(QPoint(x, y));
}

void Editor::MouseUp(Qt::MouseButton button, int x, int y) {
    StepScope scope(steps);
    modes.CurrentTool().Release(button, QPoint(x, y));
}

void Editor::Command(Cmd c) {
    if (c == Cmd::Undo) return steps.UndoClick();
    if (c == Cmd::Redo) return steps.RedoClick();
    StepScope scope(steps);
    switch (c) {
        case Cmd::SaveWork: files.SaveWorkClick(); break;
        case Cmd::LoadWork: files.LoadWorkClick(); break;
        case Cmd::WriteMap: finishedMaps.WriteMapClick(); break;
        case Cmd::ReadMap: finishedMaps.ReadMapClick(); break;
        case Cmd::NewWork: files.NewWorkClick(); break;
        case Cmd::Quit: startup.QuitClick(); break;
        case Cmd::SaveOver: files.SaveOverClick(); break;

        case Cmd::LoadBMP:
        case Cmd::SpBmpOpen: picture.LoadBMPClick(); break;
        case Cmd::BMPpaste: picture.BMPpasteClick(); break;
        case Cmd::BMPmonotone:
        case Cmd::SpBmpMono: picture.BMPmonotoneClick(); break;
        case Cmd::BMPexpand:
        case Cmd::SpBmpExpand: picture.BMPexpandClick(); break;
        case Cmd::BMPshowhide: picture.BMPshowhideClick(); break;
        case Cmd::BMPclear: picture.BMPclearClick(); break;

        case Cmd::BuildMode:
        case Cmd::SpInputMode: modeCommands.BuildModeClick(); break;
        case Cmd::EditMode:
        case Cmd::SpEditMode: modeCommands.EditModeClick(); break;
        case Cmd::LineKindMode: modeCommands.LineKindModeClick(); break;
        case Cmd::CuttingMode: modeCommands.CuttingModeClick(); break;
        case Cmd::PickUpMode: modeCommands.PickUpModeClick(); break;
        case Cmd::MoveMap: mapCommands.MoveMapClick(); break;

        case Cmd::AreaNameEdit:
        case Cmd::SpAreaName: areaNames.AreaNameEditClick(); break;
        case Cmd::ZoneArrange:
        case Cmd::SpAreaPos: areaPositions.ZoneArrangeClick(); break;
        case Cmd::IndexPos:
        case Cmd::SpIndexPos: modeCommands.IndexPosClick(); break;
        case Cmd::ReMakeLine:
        case Cmd::SpRemake: composer.ReMakeLineClick(); break;
        case Cmd::CheckAreas: problems.CheckAreasClick(); break;
        case Cmd::AutoTrace: tracing.AutoTraceClick(); break;
        case Cmd::ControlPointMode: modes.SwitchMode(Mode::ControlPoints); break;

        case Cmd::HelpContents: modeCommands.HelpContentsClick(); break;
        case Cmd::AboutVelmot: modeCommands.AboutVelmotClick(); break;
        case Cmd::CheckShowHint: modeCommands.CheckShowHintClick(); break;

        case Cmd::SpFileOpen: files.SpFileOpenClick(); break;
        case Cmd::SpFileSave: files.SpFileSaveClick(); break;

        case Cmd::LastPoint: input.PopLastPoint(); break;
        case Cmd::CutLine: input.PopCutLine(); break;
        case Cmd::WrongPoint: input.PopWrongPoint(); break;
        case Cmd::ConnectStartPoint: input.PopConnectStartPoint(); break;
        case Cmd::ConnectNearPoint: input.PopConnectNearPoint(); break;
        case Cmd::NearStartPosition: input.PopNearPointStart(); break;

        case Cmd::AppendDot: editing.Pop2AppendDot(); break;
        case Cmd::DelPoint: editing.Pop2DelDot(); break;
        case Cmd::CutDots: editing.CutDotsClick(); break;
        case Cmd::DelLine: editing.DelLineClick(); break;

        case Cmd::SecLine: kinds.SecLineClick(); break;
        case Cmd::AbsLine: kinds.AbsLineClick(); break;
        case Cmd::AstLine: kinds.AstLineClick(); break;
        case Cmd::RelSecLine: kinds.RelSecLineClick(); break;
        case Cmd::RelAbsLine: kinds.RelAbsLineClick(); break;
        case Cmd::RelAstLine: kinds.RelAstLineClick(); break;

        case Cmd::SweepCutting: trimming.SweepCuttingClick(); break;
        case Cmd::HoleCutting: trimming.HoleCuttingClick(); break;
        case Cmd::CancelCutting: trimming.CancelCuttingClick(); break;

        case Cmd::Undo:
        case Cmd::Redo:
        case Cmd::Count_: break;
    }
}

const char* CmdName(Cmd c) {
    static const char* const names[] = {
        "SaveWork", "LoadWork", "WriteMap", "ReadMap", "NewWork", "Quit",
        "SaveOver",
        "LoadBMP", "BMPpaste", "BMPmonotone", "BMPexpand", "BMPshowhide", "BMPclear",
        "BuildMode", "EditMode", "LineKindMode", "CuttingMode", "PickUpMode", "MoveMap",
        "AreaNameEdit", "ZoneArrange", "IndexPos", "ReMakeLine",
        "HelpContents", "AboutVelmot", "CheckShowHint",
        "SpFileOpen", "SpFileSave", "SpBmpOpen", "SpBmpMono", "SpBmpExpand", "SpInputMode",
        "SpEditMode", "SpAreaName", "SpAreaPos", "SpIndexPos", "SpRemake",
        "LastPoint", "CutLine", "WrongPoint", "ConnectStartPoint", "ConnectNearPoint",
        "NearStartPosition",
        "AppendDot", "DelPoint", "CutDots", "DelLine",
        "SecLine", "AbsLine", "AstLine", "RelSecLine", "RelAbsLine", "RelAstLine",
        "SweepCutting", "HoleCutting", "CancelCutting",
        "Undo", "Redo",
        "CheckAreas",
        "AutoTrace",
        "ControlPointMode",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == size_t(Cmd::Count_));
    return names[size_t(c)];
}

// ---- the dialogs' doors: each group opens the step itself ----
void Editor::ZpotListClick(int index) {
    areaPositions.ZpotListClick(index);
}

void Editor::ZpotRedrawClick() {
    areaPositions.ZpotRedrawClick();
}

bool Editor::ZpotClose() {
    return areaPositions.ZpotClose();
}

void Editor::CheckListClick(int index) {
    problems.CheckListClick(index);
}

void Editor::CheckListRepair(int index, bool all) {
    problems.CheckListRepair(index, all);
}

void Editor::CheckListClosed() {
    problems.CheckListClosed();
}

void Editor::ControlPointMethod(georef::Method m) {
    controlPoints->SetMethod(m);
}

void Editor::ControlPointSwitch(int i, bool on) {
    controlPoints->Switch(i, on);
}

void Editor::ControlPointRemove(int i) {
    controlPoints->Remove(i);
}

void Editor::ControlPointNumbers(int i, double px, double py, double x, double y) {
    controlPoints->SetNumbers(i, px, py, x, y);
}

void Editor::ControlPointTableClosed() {
    controlPoints->TableClosed();
}

void Editor::CheckMainMenu() {
    states.CheckMainMenu();
}

void Editor::UseGeoRefBackend(usecase::GeoRefBackend backend) {
    controlPoints->backend = std::move(backend);
}

// ---- the window's questions ----
QString Editor::SettingsPath() const {
    return sessionFiles.SettingsPath();
}

QStringList Editor::RecentFiles() const {
    return sessionFiles.RecentFiles();
}

bool Editor::OfferRecovery() {
    return sessionFiles.OfferRecovery();
}

bool Editor::WriteAutosave(QString* error) {
    return sessionFiles.WriteAutosave(error);
}

QString Editor::WorkFile() const {
    return sessionFiles.docFile_;
}

QRect Editor::ContentBounds() const {
    return canvas.ContentBounds();
}

int32_t Editor::DraggedPoint() const {
    return modes.tools->edit.GrabIndex;
}

QPointF Editor::ControlPointShownAt(int i, QPointF at) const {
    return modes.tools->controlPoints.ShownAt(i, at);
}
