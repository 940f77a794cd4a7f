// The editor: the doors through which the Qt application and the tests drive
// the store, the drawing surface and every command; it answers through Ui.
// Each door opens the undo step and hands the command to its part: a service
// (editor/: canvas, modes, command states, steps, session files, the
// network's upkeep) or a handler group (editor/commands/: one class per menu,
// popup or dialog). Commands keep the names their menu items and handlers have.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "base/Commands.h"
#include "base/Progress.h"
#include "doc/Document.h"
#include "editor/Canvas.h"
#include "editor/CommandStates.h"
#include "editor/Keys.h"
#include "editor/Modes.h"
#include "editor/NetworkUpkeep.h"
#include "editor/RecordingUi.h"
#include "editor/SessionFiles.h"
#include "editor/Steps.h"
#include "editor/Ui.h"
#include "editor/Workbench.h"
#include "editor/commands/AreaNameEditor.h"
#include "editor/commands/AreaPositionDialog.h"
#include "editor/commands/ComposeCommands.h"
#include "editor/commands/EditPopup.h"
#include "editor/commands/FinishedMapCommands.h"
#include "editor/commands/InputPopup.h"
#include "editor/commands/KindCommands.h"
#include "editor/commands/MapCommands.h"
#include "editor/commands/ModeCommands.h"
#include "editor/commands/PictureCommands.h"
#include "editor/commands/ProblemList.h"
#include "editor/commands/SessionCommands.h"
#include "editor/commands/TraceCommands.h"
#include "editor/commands/TrimCommands.h"
#include "editor/commands/WorkFileCommands.h"
#include "georef/GeoRef.h"
#include "raster/Surface.h"
#include "shell/Settings.h"
#include "store/Store.h"

class ControlPoints;
namespace usecase {
struct GeoRefBackend;
}

class Editor {
  public:
    explicit Editor(Ui& ui);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

  private:
    // Before `ui`, which refers to it; the steps hold back and release what
    // it passes on.
    RecordingUi uiRec_;

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

    // ================= doors =================
    // Menu items, tool-bar buttons and popup items.
    void Command(Cmd c);
    // The surface's mouse handlers, in surface pixels; the current mode's
    // tool (editor/tools/) handles them.
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(Qt::MouseButton button, int x, int y);
    // editor/Keyboard.cpp: key-down on the main window (vk codes above).
    void KeyDown(int key, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
    // Start-up and shutdown (the session commands do the work).
    void InitMain(const QString& programPath, const QString& settingsDir = QString());
    bool CloseQuery();
    void CloseMain(QRect normalBounds, bool maximized);
    // editor/commands/Opening.cpp: opens a work file, a finished map or a
    // picture (as the under-drawing), told apart by their bytes; asks first
    // when unsaved work would go.
    bool OpenByContent(const QString& path);
    // The non-modal dialogs: 区域名⇔位置 (its list, 再描画 and OK or the
    // close box; false keeps it open), the problem list (a row chosen, 修正
    // or すべて修正, closed) and the control-point table. Each is one step.
    void ZpotListClick(int index);
    void ZpotRedrawClick();
    bool ZpotClose();
    void CheckListClick(int index);
    void CheckListRepair(int index, bool all);
    void CheckListClosed();
    void ControlPointMethod(georef::Method m);
    void ControlPointSwitch(int i, bool on);
    void ControlPointRemove(int i);
    void ControlPointNumbers(int i, double px, double py, double x, double y);
    void ControlPointTableClosed();
    // The menus' check marks, as a menu opens.
    void CheckMainMenu();
    // The fit and coordinate systems (GDAL's) the window hands in.
    void UseGeoRefBackend(usecase::GeoRefBackend backend);

    // ---- what the window asks at start-up, on its timer and as it draws ----
    QString SettingsPath() const;
    QStringList RecentFiles() const;
    // Offers the autosaves a crash left behind; true when one was restored.
    bool OfferRecovery();
    bool WriteAutosave(QString* error);
    QString WorkFile() const;  // the work's file; empty while it has none
    // What 全体表示 fits (Canvas::ContentBounds).
    QRect ContentBounds() const;
    // The point a drag in edit mode holds, or -1.
    int32_t DraggedPoint() const;
    // Where the view shows control point i (at `at` on the map) while it is dragged.
    QPointF ControlPointShownAt(int i, QPointF at) const;

    // A command of a library the core does not link (boundary data, export,
    // printing), run as one step like the menu's own commands.
    template <class F>
    void Run(F&& f) {
        StepScope scope(steps);
        f();
    }
    // The undo step a door opens; dialogs that answer later (the area
    // positions, the problem list, the control points) open it too.
    using StepScope = Steps::Scope;
    void SetClick(int16_t x, int16_t y) { bench.SetClick(x, y); }

    // What every part works on: the Ui, the map, the surface, the program's
    // settings and the services below. Declared before the parts, which take
    // it (and the groups they call) when they are made; none of them uses
    // another before the editor is complete.
    Workbench bench;
    // 基準点: its points and table (editor/commands/ControlPoints.h). Made
    // first of the parts: the steps and the tools hold it.
    std::unique_ptr<ControlPoints> controlPoints;

    // ================= services (editor/) =================
    Canvas canvas;
    Modes modes;
    CommandStates states;
    Steps steps;
    SessionFiles sessionFiles;
    NetworkUpkeep upkeep;

    // ================= handler groups (editor/commands/) =================
    // One per menu, popup or dialog; each keeps its own state. Tests drive
    // them one by one (ed.files.SaveWorkClick()); the window uses the doors.
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
    ModeCommands modeCommands;
    SessionCommands startup;
};
