#include "editor/Editor.h"

#include "editor/commands/ControlPoints.h"
#include "editor/tools/Tools.h"

Editor::Editor(Ui& u)
    : uiRec_(u),
      ui(uiRec_),
      progress(ProgressOn(u)),
      tools(std::make_unique<Tools>(*this)),
      controlPoints(std::make_unique<ControlPoints>(*this)) {}

Editor::~Editor() = default;

void Editor::Command(Cmd c) {
    if (c == Cmd::Undo) return UndoClick();
    if (c == Cmd::Redo) return RedoClick();
    StepScope scope(*this);
    switch (c) {
        case Cmd::SaveWork: SaveWorkClick(); break;
        case Cmd::LoadWork: LoadWorkClick(); break;
        case Cmd::WriteMap: WriteMapClick(); break;
        case Cmd::ReadMap: ReadMapClick(); break;
        case Cmd::NewWork: NewWorkClick(); break;
        case Cmd::Quit: QuitClick(); break;
        case Cmd::SaveOver: SaveOverClick(); break;

        case Cmd::LoadBMP:
        case Cmd::SpBmpOpen: LoadBMPClick(); break;
        case Cmd::BMPpaste: BMPpasteClick(); break;
        case Cmd::BMPmonotone:
        case Cmd::SpBmpMono: BMPmonotoneClick(); break;
        case Cmd::BMPexpand:
        case Cmd::SpBmpExpand: BMPexpandClick(); break;
        case Cmd::BMPshowhide: BMPshowhideClick(); break;
        case Cmd::BMPclear: BMPclearClick(); break;

        case Cmd::BuildMode:
        case Cmd::SpInputMode: BuildModeClick(); break;
        case Cmd::EditMode:
        case Cmd::SpEditMode: EditModeClick(); break;
        case Cmd::LineKindMode: LineKindModeClick(); break;
        case Cmd::CuttingMode: CuttingModeClick(); break;
        case Cmd::PickUpMode: PickUpModeClick(); break;
        case Cmd::MoveMap: MoveMapClick(); break;

        case Cmd::AreaNameEdit:
        case Cmd::SpAreaName: AreaNameEditClick(); break;
        case Cmd::ZoneArrange:
        case Cmd::SpAreaPos: ZoneArrangeClick(); break;
        case Cmd::IndexPos:
        case Cmd::SpIndexPos: IndexPosClick(); break;
        case Cmd::ReMakeLine:
        case Cmd::SpRemake: ReMakeLineClick(); break;
        case Cmd::CheckAreas: CheckAreasClick(); break;
        case Cmd::AutoTrace: AutoTraceClick(); break;
        case Cmd::ControlPointMode: SwitchMode(Mode::ControlPoints); break;

        case Cmd::HelpContents: HelpContentsClick(); break;
        case Cmd::AboutVelmot: AboutVelmotClick(); break;
        case Cmd::CheckShowHint: CheckShowHintClick(); break;

        case Cmd::SpFileOpen: SpFileOpenClick(); break;
        case Cmd::SpFileSave: SpFileSaveClick(); break;

        case Cmd::LastPoint: PopLastPoint(); break;
        case Cmd::CutLine: PopCutLine(); break;
        case Cmd::WrongPoint: PopWrongPoint(); break;
        case Cmd::ConnectStartPoint: PopConnectStartPoint(); break;
        case Cmd::ConnectNearPoint: PopConnectNearPoint(); break;
        case Cmd::NearStartPosition: PopNearPointStart(); break;

        case Cmd::AppendDot: Pop2AppendDot(); break;
        case Cmd::DelPoint: Pop2DelDot(); break;
        case Cmd::CutDots: CutDotsClick(); break;
        case Cmd::DelLine: DelLineClick(); break;

        case Cmd::SecLine: SecLineClick(); break;
        case Cmd::AbsLine: AbsLineClick(); break;
        case Cmd::AstLine: AstLineClick(); break;
        case Cmd::RelSecLine: RelSecLineClick(); break;
        case Cmd::RelAbsLine: RelAbsLineClick(); break;
        case Cmd::RelAstLine: RelAstLineClick(); break;

        case Cmd::SweepCutting: SweepCuttingClick(); break;
        case Cmd::HoleCutting: HoleCuttingClick(); break;
        case Cmd::CancelCutting: CancelCuttingClick(); break;

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
