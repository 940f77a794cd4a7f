// Every command the person can give: main menu items, tool-bar buttons and
// popup-menu items. The application maps its actions to these ids and hands
// them to Editor::Command; the core enables, checks and captions them
// through Ui.
#pragma once

#include <QString>

enum class Cmd {
    // ﾌｧｲﾙ(&F)
    SaveWork, LoadWork, WriteMap, ReadMap, NewWork, Quit,
    SaveOver,  // 上書き保存
    // 下絵(&E)
    LoadBMP, BMPpaste, BMPmonotone, BMPexpand, BMPshowhide, BMPclear,
    // 作図(&D)
    BuildMode, EditMode, LineKindMode, CuttingMode, PickUpMode, MoveMap,
    // 区域(&A)
    AreaNameEdit, ZoneArrange,
    // 凡例(&I)
    IndexPos,
    // 完成(&C)
    ReMakeLine,
    // ヘルプ(&H)
    HelpContents, AboutVelmot, CheckShowHint,
    // tool bar
    SpFileOpen, SpFileSave, SpBmpOpen, SpBmpMono, SpBmpExpand, SpInputMode, SpEditMode,
    SpAreaName, SpAreaPos, SpIndexPos, SpRemake,
    // RButtonMenu (point input)
    LastPoint, CutLine, WrongPoint, ConnectStartPoint, ConnectNearPoint, NearStartPosition,
    // RBtnEditMode (point edit)
    AppendDot, DelPoint, CutDots, DelLine,
    // BtnLKindMode (line kind)
    SecLine, AbsLine, AstLine, RelSecLine, RelAbsLine, RelAstLine,
    // RBtnCutting (trimming)
    SweepCutting, HoleCutting, CancelCutting,
    // 作図(&D), after the items above
    Undo, Redo,
    // 完成(&C), after the items above: 全区域の点検
    CheckAreas,
    // 下絵, after the items above: 自動トレース
    AutoTrace,
    // 作図, the last item: 基準点
    ControlPointMode,
    Count_
};

enum class Popup { None, RButtonMenu, RBtnEditMode, BtnLKindMode, RBtnCutting };

// Surface cursors by registered number; Arrow is the default pointer.
enum class SurfaceCursor {
    Arrow = 0,
    CrossLine = 1,
    CrossEdit = 2,
    CrossKind = 3,
    IndexPosition = 4,
    Cutter = 5,
    PickUp = 6,
};

// Menu/tool-bar name of a command, e.g. "SaveWork" (for tests and diagnostics).
const char* CmdName(Cmd c);
