// The editor: the store, the drawing surface and every command. The Qt
// application and the tests drive it through its entry points; it answers
// through Ui. Commands keep the names their menu items and handlers have.
//
// The handlers are implemented in editor/commands/, one file per group (the
// comment before each group names it); the services in editor/.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Commands.h"
#include "base/Progress.h"
#include "editor/Ui.h"
#include "doc/Document.h"
#include "editor/RecordingUi.h"
#include "raster/Surface.h"
#include "render/RedMark.h"
#include "shell/Session.h"
#include "shell/Settings.h"
#include "store/Store.h"

struct WorkNames;

// Colour argument for the drawing operations: a palette index, or -1 for the
// default (magenta lines, white points).
constexpr int DefaultColour = -1;

// Platform virtual-key codes the keyboard commands react to.
namespace vk {
constexpr int Backspace = 0x08, Return = 0x0D, Space = 0x20, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
              A = 0x41, Z = 0x5A;
}

namespace areas {
class RegionFills;
}
namespace compose {
struct CheckEntry;
struct ProblemList;
}  // namespace compose
class Tool;
struct Tools;
class ControlPoints;

class Editor {
  public:
    explicit Editor(Ui& ui);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

  private:
    RecordingUi uiRec_;  // before `ui`, which refers to it

  public:
    Ui& ui;
    Surface surf;
    Progress progress;
    // The program's, not the map's: kept out of the store, so that no undo
    // step touches them. The window's start-up or the batch run fills them.
    Settings settings;
    TempFiles temps;
    // The map and its undo history. Commands change the map through the
    // document's operations; `st` is its store, for reading.
    Document doc{surf, uiRec_, temps.picture};
    const Store& st = doc.Map();

    // ================= entry points =================
    // editor/Editor.cpp: menu items, tool-bar buttons and popup items.
    void Command(Cmd c);
    // editor/commands/InputPopup.cpp: the surface's mouse handlers, in surface pixels;
    // the current mode's tool (editor/tools/) handles them.
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);
    // editor/Keyboard.cpp: key-down on the main window (vk codes above).
    void KeyDown(int key, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);

    // ================= start-up and shutdown (editor/commands/SessionCommands.cpp) =================
    // Runs the start-up sequence; settingsDir overrides where the settings file
    // lives (empty: beside the program, or the user's configuration directory).
    void InitMain(const QString& programPath, const QString& settingsDir = QString());
    bool CloseQuery();
    void CloseMain(QRect normalBounds, bool maximized);
    void QuitClick();
    void SetProgramBase(const QString& programPath);
    void ReadSettings();
    void WriteSettings();
    void MakeTempNames();
    void DeleteTempFiles();
    QString SettingsPath() const;
    // Built-in size of the drawing surface.
    static constexpr int DefaultSurfaceWidth = 2560, DefaultSurfaceHeight = 1920;
    // Sets up the drawing surface at MapWidth x MapHeight (or the built-in
    // size), shrinking to four fifths until the memory can be had.
    void SetUpSurface();
    // Largest surface (in pixels) SetUpSurface may take; 0 means no limit
    // beyond what memory gives. Lets the shrinking be exercised.
    size_t surfacePixelLimit_ = 0;
    // The size the surface was set up with; saved as the "Image" setting even
    // when a large picture made the surface grow later.
    int surfaceSetupWidth_ = 0, surfaceSetupHeight_ = 0;

    // ================= modes and command surface (editor/Modes.cpp) =================
    // One tool per mode (editor/tools/Tools.h); the current one is tools->For(st.Mode).
    std::unique_ptr<Tools> tools;
    Tool& CurrentTool();
    // Leaves the current mode and enters `next` (editor/tools/Tool.cpp): the only
    // place a mode changes, unless the new mode refuses.
    void SwitchMode(Mode next);
    void BuildModeClick();
    void EditModeClick();
    void LineKindModeClick();
    void CuttingModeClick();
    void PickUpModeClick();
    void InitCommandStates();
    void EnablePictureCommands();
    void DisablePictureCommands();
    void EnableAreaPosCommands();
    void DisableAreaPosCommands();
    void EnableRemakeCommands();
    void DisableRemakeCommands();
    void CheckMainMenu();
    void ApplyHintSetting();
    void CheckShowHintClick();
    void HelpContentsClick();
    void AboutVelmotClick();
    SurfaceCursor ModeCursor() const;  // the surface cursor of the current mode
    void UndoComposed();

    // ================= rendering (editor/Canvas.cpp) =================
    // Full redraw; false when the picture file could not be read (the caller stops).
    bool ReDraw();
    void DisplayMap(int lineColour, int pointColour);
    void ShowKinds();
    void RestoreCursor();
    void MarkVertices(uint8_t c);
    void ComposeMessage(const QString& text);
    void CenterViewOn(int x, int y);
    static QString MouseReadout(int x, int y);
    // Places the progress bar at the panel's right end and shows it.
    void ShowProgressBar();
    // What 全体表示 fits: the map's lines, positions and legend, and the
    // under-drawing while it is shown. Empty when there is none of these.
    QRect ContentBounds() const;
    // The under-drawing decoded to palette indices, reused while its file keeps
    // the same name, size and times (a redraw would otherwise decode it anew).
    Surface picPixels_;
    QString picPath_;
    qint64 picSize_ = -1, picMtime_ = 0, picCtime_ = 0;
    // Nobody looks at the surface (the batch tool): a redraw without a picture
    // leaves the pixels alone, since nothing but the eye would read them.
    bool surfaceUnseen = false;
    // Result of the redraw that a mode switch inside ReDraw ran.
    bool lastRedrawOk_ = true;
    bool LoadPictureCached(QString* error);

    // Where the last popup was asked for (or the pointer was when a key came);
    // the popup's commands act there. Not the map's: no undo step restores it.
    int16_t ClickX = 0, ClickY = 0;
    void SetClick(int16_t x, int16_t y) {
        ClickX = x;
        ClickY = y;
    }

    // ================= point input (editor/commands/InputPopup.cpp) =================
    void AddPoint(int x, int y);
    void PopLastPoint();
    void PopCutLine();
    void PopWrongPoint();
    void PopConnectStartPoint();
    void PopConnectNearPoint();
    void PopNearPointStart();
    // Refuses (with a message) when n more point records would not fit.
    bool RoomForPoints(int64_t n);

    // ================= point editing (editor/commands/EditPopup.cpp) =================
    void Pop2AppendDot();
    void Pop2DelDot();
    void CutDotsClick();
    void DelLineClick();
    void SelectRun(int32_t& s, int32_t& e);
    // editor/NetworkUpkeep.cpp
    void TidyPointList();
    void RemoveRepeatedSegments();

    // ================= line kinds (editor/commands/KindCommands.cpp) =================
    void SecLineClick();
    void AbsLineClick();
    void AstLineClick();
    void RelSecLineClick();
    void RelAbsLineClick();
    void RelAstLineClick();
    void SelectKindRun(int32_t& s, int32_t& e);
    void MarkKindVertices();

    // ================= trimming (editor/commands/TrimCommands.cpp) =================
    void SweepCuttingClick();
    void HoleCuttingClick();
    void CancelCuttingClick();

    // ================= move and scale (editor/commands/MapCommands.cpp) =================
    void MoveMapClick();

    // ================= base picture (editor/commands/PictureCommands.cpp, editor/commands/PictureProcessing.cpp)
    // =================
    void LoadBMPClick();
    // The rest of LoadBMPClick once the file is chosen (also for a file named
    // from outside): asks first when the picture would take a surface beyond
    // the budget, reads it whole before anything is let go. True when it
    // became the under-drawing.
    bool LoadPictureFile(const QString& file);
    // The rest of LoadBMPClick once the picture is read.
    void UsePicture(QImage img);
    void BMPpasteClick();
    void BMPshowhideClick();
    void BMPclearClick();
    void BMPmonotoneClick();
    void BMPexpandClick();
    QRgb LastMonotoneColour = 0xFF000000;

    // ================= areas and legend (areas/*.cpp) =================
    void AreaNameEditClick();
    void ZoneArrangeClick();
    void ZpotListClick(int index);  // 0-based list entry
    void ZpotRedrawClick();
    // OK / close box of the area-position dialog; false keeps it open (a box
    // that does not parse).
    bool ZpotClose();
    int ZpotSelected = 1;
    void IndexPosClick();

    // ================= final composition (compose/*.cpp) =================
    void ReMakeLineClick();
    // Where the last composition stopped, for reports (area 0: it did not
    // fail at a position). reason: the stable key of compose::ReasonKey.
    struct ComposeStop {
        int area = 0, slot = 0;
        QPoint position, place;
        QString reason;
    } composeStop;
    // The region the last composition failed in, kept red on the view after
    // its message until the next command.
    RedMark composeFailMark_;
    // The composition's own preparation: the point list ends with a separator
    // and holds every segment once, and the surface shows it yellow on black
    // with the nodes lime. False (nothing done) without lines or areas.
    bool PrepareComposition();
    // Joins the kind groups that meet end to end (compose/KindMerge.h).
    void MergeKindGroups();

    // ================= files (files/*.cpp) =================
    void SaveWorkClick();
    // The under-drawing's line of the work file for a save under names;
    // false (with a message) when its name cannot be written.
    bool PictureLine(const WorkNames& names, std::string* picture);
    // Writes the work file and its bitmap as a pair; false (with a message)
    // when either could not be written.
    bool SaveWorkPair(const WorkNames& names, const std::string& picture);
    void LoadWorkClick();
    // ownHistory: the work opened starts an undo history of its own; an
    // import read back as a work stays one step of the work it replaced.
    bool LoadWorkFile(const QString& name, bool ownHistory = true);
    void NewWorkClick();
    void ResetWork();
    void SpFileOpenClick();
    void SpFileSaveClick();
    void WriteMapClick();
    void ReadMapClick();
    bool ReadFinishedMap(const QString& path);

    // ================= undo and redo (editor/Steps.cpp) =================
    void UndoClick();
    void RedoClick();
    // A press, drag or dialog that has begun and not ended: the state is
    // recorded when it ends, so the whole gesture is one step.
    bool GestureUnderWay() const;
    // Every entry point runs between these (nested calls count once): the
    // state before and after is recorded, and the view repaints only what
    // changed.
    void BeginStep();
    void EndStep();
    struct StepScope {
        explicit StepScope(Editor& e) : ed(e) { ed.BeginStep(); }
        ~StepScope() { ed.EndStep(); }
        Editor& ed;
    };
    void UpdateUndoCommands();
    int stepDepth_ = 0;
    bool stepSynced_ = false;
    QSize stepSurfaceSize_;
    bool undoShown_ = false, redoShown_ = false;

    // ---- per-subsystem state: add below, each subsystem in its own block ----
    // [edit]

    // [picture]
    // After a new picture went into temps.picture: present, shown, commands on.
    void PictureStored();
    // The negative, with the hourglass and the progress bar.
    void RunInversion(QImage& img);

    // [areas]
    bool ZpotOpen = false;  // the area-position dialog is showing
    // The dialog's region fills, labelled while it is open (areas/RegionFills.h).
    std::shared_ptr<areas::RegionFills> zpotFills;

    // [compose] editor/commands/ProblemList.cpp
    // 全区域の点検: the failures in the problem list, or a word that there are none.
    void CheckAreasClick();
    // An entry chosen (0-based): the view goes there and its region turns red.
    void CheckListClick(int index);
    // The list closed: the red region is taken back.
    void CheckListClosed();
    // 修正 (all: すべて修正): the network repaired within the chosen entry's
    // region, or within every region whose entry fails for the same reason,
    // as one undo step; the list is made anew.
    void CheckListRepair(int index, bool all);
    // Takes back the red region of the chosen problem, if one is shown. Every
    // other command does so first, so that no recorded state holds it.
    void TakeBackCheckMark();
    std::shared_ptr<compose::ProblemList> problems_;

    // [trace] editor/commands/AutoTrace.cpp
    // 自動トレース: the dialog, then the traced network added to the work as
    // one step, and its doubtful edges in the problem list.
    void AutoTraceClick();
    // What the list of doubtful edges keeps while it is open.
    struct TracedEdges;
    std::shared_ptr<TracedEdges> traced_;
    // An edge chosen (0-based): the view goes there and the edge turns red.
    void TracedEdgeClick(int index);
    // Takes back the red edge, if one is shown.
    QRect UnmarkTracedEdge();
    // The file the under-drawing was last read from: traced instead of the
    // stored 16 colours while the picture is still that file's.
    QString pictureFile_;

    // [georef] editor/commands/ControlPoints.h: 基準点, its points and table.
    std::unique_ptr<ControlPoints> controlPoints;

    // [files]

    // [session] editor/AutoSave.cpp, editor/RecentFiles.cpp, editor/commands/Opening.cpp
    // The work file the work was last read from or saved to; empty for new
    // work, a finished map or a restored autosave of unsaved work. Saving
    // over it needs no questions.
    QString docFile_;
    // Line 4 of the work file last read, when its under-drawing could not be
    // read: saved again instead of "0", so that the link survives.
    std::string keptPicture_;
    // 上書き保存: to docFile_ without a dialog, else as 作業保存 does.
    void SaveOverClick();
    // Opens a work file, a finished map or a picture (as the under-drawing),
    // told apart by their bytes; asks first when unsaved work would go.
    bool OpenByContent(const QString& path);
    // A command of a library the core does not link (boundary data, export,
    // printing), run as one step like the menu's own commands.
    template <class F>
    void Run(F&& f) {
        StepScope scope(*this);
        f();
    }
    // The instance's lock, autosave and temporary-file record; only the
    // window has one (InitMain), batch runs and core tests do not.
    std::unique_ptr<Session> session_;
    std::vector<Session::Orphan> declined_;  // kept until the next save
    bool restoring_ = false;
    QString AutosaveRoot() const;
    void StartSession();
    void EndSession();
    // Writes the work into this instance's autosave; false when there is no
    // unsaved work or it cannot be written.
    bool WriteAutosave(QString* error = nullptr);
    // Offers the autosaves that instances which are gone left behind;
    // true when one was restored.
    bool OfferRecovery();
    // After a successful save: the autosaves have done their job.
    void WorkSaved(const QString& workFile);
    QStringList RecentFiles() const;
    void NoteRecentFile(const QString& path);
    static constexpr int MaxRecentFiles = 8;
};
