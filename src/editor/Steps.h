// The undo step around every door, and 元に戻す / やり直し.
#pragma once

#include <QSize>
#include "editor/EditorPart.h"

class RecordingUi;
class AreaPositionDialog;
class ProblemList;
class ControlPoints;

class Steps : public EditorPart {
  public:
    Steps(Workbench& w, RecordingUi& rec, AreaPositionDialog& areaPositions,
          ProblemList& problemList, ControlPoints& controlPoints)
        : EditorPart(w),
          rec_(rec),
          areaPositions_(areaPositions),
          problemList_(problemList),
          controlPoints_(controlPoints) {}

    // The step a door opens; dialogs that answer later (the area positions,
    // the problem list) open it too. Nested scopes count once.
    struct Scope {
        explicit Scope(Steps& s) : steps(s) { steps.BeginStep(); }
        ~Scope() { steps.EndStep(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Steps& steps;
    };

    void UndoClick();
    void RedoClick();
    // A press, drag or dialog that has begun and not ended: the state is
    // recorded when it ends, so the whole gesture is one step.
    bool GestureUnderWay() const;
    // Every door runs between these (nested calls count once): the state
    // before and after is recorded, and the view repaints only what changed.
    void BeginStep();
    void EndStep();
    void UpdateUndoCommands();
    int stepDepth_ = 0;
    bool stepSynced_ = false;
    QSize stepSurfaceSize_;
    bool undoShown_ = false, redoShown_ = false;

  private:
    RecordingUi& rec_;
    AreaPositionDialog& areaPositions_;
    ProblemList& problemList_;
    ControlPoints& controlPoints_;
};
