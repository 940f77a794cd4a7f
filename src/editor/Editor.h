// The editor: the store, the drawing surface and every command. The Qt
// application and the tests drive it through its entry points; it answers
// through Ui. Commands keep the names their menu items and handlers have.
//
// The handlers are in groups, one class per menu, popup or dialog in
// editor/commands/; the services they share are the editor's own, in editor/.
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
#include "editor/commands/AreaNameEditor.h"
#include "editor/commands/AreaPositionDialog.h"
#include "editor/commands/ComposeCommands.h"
#include "editor/commands/EditPopup.h"
#include "editor/commands/FinishedMapCommands.h"
#include "editor/commands/InputPopup.h"
#include "editor/commands/KindCommands.h"
#include "editor/commands/MapCommands.h"
#include "editor/commands/PictureCommands.h"
#include "editor/commands/ProblemList.h"
#include "editor/commands/TraceCommands.h"
#include "editor/commands/TrimCommands.h"
#include "editor/commands/WorkFileCommands.h"
#include "raster/Surface.h"
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
    // The surface's mouse handlers, in surface pixels; the current mode's
    // tool (editor/tools/) handles them.
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
    void IndexPosClick();  // editor/commands/Legend.cpp

    // ================= rendering (editor/Canvas.cpp) =================
    // Full redraw; false when the picture file could not be read (the caller stops).
    bool ReDraw();
    void DisplayMap(int lineColour, int pointColour);
    void ShowKinds();
    void RestoreCursor();
    void MarkVertices(uint8_t c);
    void MarkKindVertices();
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

    // ================= the network's upkeep (editor/NetworkUpkeep.cpp) =================
    void TidyPointList();
    void RemoveRepeatedSegments();

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

    // ================= session (editor/AutoSave.cpp, editor/RecentFiles.cpp, editor/commands/Opening.cpp) =================
    // The work file the work was last read from or saved to; empty for new
    // work, a finished map or a restored autosave of unsaved work. Saving
    // over it needs no questions.
    QString docFile_;
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

    // ================= handler groups (editor/commands/) =================
    // One per menu, popup or dialog; each keeps its own state. The doors
    // above open the undo step and hand the command to its group; tests
    // drive the groups one by one.
    InputPopup input;
    EditPopup editing;
    KindCommands kinds;
    TrimCommands trimming;
    MapCommands mapCommands;
    PictureCommands picture;
    AreaNameEditor areaNames;
    AreaPositionDialog areaPositions;
    ProblemList problems;
    ComposeCommands composer;
    WorkFileCommands files;
    FinishedMapCommands finishedMaps;
    TraceCommands tracing;
    // 基準点: its points and table (editor/commands/ControlPoints.h).
    std::unique_ptr<ControlPoints> controlPoints;
};
