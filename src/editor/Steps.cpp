// The editor's side of undo: the entry points record the document around
// each command, and 元に戻す / やり直し step through what was recorded.
#include "editor/Steps.h"

#include "editor/RecordingUi.h"
#include "editor/Services.h"
#include "editor/commands/AreaPositionDialog.h"
#include "editor/commands/ControlPoints.h"
#include "editor/commands/ProblemList.h"
#include "editor/tools/Tools.h"

bool Steps::GestureUnderWay() const {
    return wb.modes.tools->GestureUnderWay() || areaPositions_.ZpotOpen;
}

void Steps::BeginStep() {
    if (stepDepth_++ > 0) return;
    // A problem's red mark is a pointer, not part of the map: it goes before
    // anything is recorded (its repaint is not held back).
    problemList_.TakeBackCheckMark();
    rec_.Hold();
    stepSurfaceSize_ = QSize(surf.Width(), surf.Height());
    // Whatever changed outside the entry points (a file loaded at start-up)
    // becomes part of the history before the command runs.
    stepSynced_ = !GestureUnderWay();
    if (stepSynced_) doc.Checkpoint();
}

void Steps::EndStep() {
    if (--stepDepth_ > 0) return;
    QRect changed;
    bool recorded = false;
    if (doc.recording && !GestureUnderWay()) {
        doc.Checkpoint(&changed);
        recorded = true;
    }
    const RecordingUi::Held held = rec_.Release();
    const bool sameSize = stepSurfaceSize_ == QSize(surf.Width(), surf.Height());
    if (recorded && stepSynced_ && !held.flushed && sameSize) {
        // The view still shows the state before the command: only the
        // changed tiles need painting.
        if (!changed.isEmpty()) rec_.Inner().SurfaceRegionChanged(changed);
    } else if (held.requested || held.flushed || !sameSize) {
        rec_.Inner().SurfaceChanged();
    }
    UpdateUndoCommands();
    controlPoints_.Follow();
}

void Steps::UpdateUndoCommands() {
    History& h = doc.Steps();
    const bool undo =
        doc.recording && !areaPositions_.ZpotOpen && (h.CanUndo() || GestureUnderWay());
    const bool redo = doc.recording && !areaPositions_.ZpotOpen && h.CanRedo();
    if (undo != undoShown_) ui.SetEnabled(Cmd::Undo, undoShown_ = undo);
    if (redo != redoShown_) ui.SetEnabled(Cmd::Redo, redoShown_ = redo);
}

namespace {

void Show(Workbench& wb, const Document::Restored& r) {
    // No gesture survives a step back or forward.
    wb.modes.tools->CancelAll();
    if (r.pictureChanged) wb.canvas.picPath_.clear();  // the decoded copy is stale
    if (r.resized)
        wb.ui.SurfaceChanged();
    else if (!r.changed.isEmpty())
        wb.ui.SurfaceRegionChanged(r.changed);
}

}  // namespace

void Steps::UndoClick() {
    // The area-position dialog edits its boxes until it closes; stepping
    // back under it would leave the boxes and the map apart.
    if (!doc.recording || areaPositions_.ZpotOpen) return;
    problemList_.TakeBackCheckMark();
    if (GestureUnderWay()) {
        // A gesture half done (a grabbed point, trimming corners, a lifted
        // piece) is what the person takes back first.
        Show(wb, doc.RestoreCurrent());
    } else {
        doc.Checkpoint();
        if (doc.Steps().CanUndo()) Show(wb, doc.Undo());
    }
    UpdateUndoCommands();
    controlPoints_.Follow();
}

void Steps::RedoClick() {
    if (!doc.recording || areaPositions_.ZpotOpen || GestureUnderWay()) return;
    problemList_.TakeBackCheckMark();
    if (doc.Steps().CanRedo()) {
        doc.Checkpoint();
        // A command that only changed flags since the undo keeps the step.
        if (doc.Steps().CanRedo()) Show(wb, doc.Redo());
    }
    UpdateUndoCommands();
    controlPoints_.Follow();
}
