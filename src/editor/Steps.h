// The undo step around every door, and 元に戻す / やり直し.
#pragma once

#include <QSize>
#include "editor/EditorPart.h"

class Steps : public EditorPart {
  public:
    using EditorPart::EditorPart;

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
};
