// What a press on the drawing surface does depends on the mode, and each mode
// is one Tool: it keeps the state of the gesture under way (a grabbed point,
// trimming corners, a lifted piece) and its mode's entry and exit steps.
// Tools see surface pixels only; zoom and scrolling belong to the view.
#pragma once

#include <QPoint>
#include <Qt>

#include "base/Commands.h"
#include "editor/Cursors.h"
#include "editor/Ui.h"
#include "store/Mode.h"

struct Workbench;
class InputPopup;
class AreaPositionDialog;
class ControlPoints;

class Tool {
  public:
    explicit Tool(Workbench& w) : wb(w) {}
    virtual ~Tool() = default;
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    virtual ::Mode Mode() const = 0;
    SurfaceCursor Cursor() const { return CursorOf(Mode()); }

    // Whether the mode can be entered now; false when it has told why not.
    virtual bool MayEnter() { return true; }
    // The mode's entry steps, run after the mode before has left; they set
    // the mode.
    virtual void Enter() = 0;
    // The exit steps, before `next` is entered (also when next is this mode).
    virtual void Leave(::Mode /*next*/) {}
    // Whether entering this mode wipes what the mode before left drawn on the
    // surface; false for a mode that paints its own view or keeps the view.
    virtual bool WipesMarksOnEntry() const { return true; }

    // Presses, drags and releases at surface pixel p.
    virtual void Press(Qt::MouseButton /*button*/, QPoint /*p*/) {}
    virtual void Move(QPoint /*p*/) {}
    virtual void Release(Qt::MouseButton /*button*/, QPoint /*p*/) {}
    // A key with the pointer over surface pixel p (Space, Return, A, Z).
    // True when the key was all there was to do: the pointer stays and the
    // command states are left as they are.
    virtual bool Key(int /*key*/, QPoint /*p*/) { return false; }

    // A gesture has begun and not ended (it becomes one undo step).
    virtual bool GestureUnderWay() const { return false; }
    // Forgets the gesture under way (undo, a new map).
    virtual void Cancel() {}

  protected:
    // The steps every mode command takes: the two mode buttons, the check
    // mark of its menu item and the surface cursor.
    void ShowMode(bool inputDown, bool editDown, Cmd item);
    // A redraw in the next mode when that mode wipes the marks this one left.
    void WipeMarksFor(::Mode next);
    // Sets the mode; no outline of trimming or jigsaw outlives a mode change.
    void TakeOver();
    Workbench& wb;
};
