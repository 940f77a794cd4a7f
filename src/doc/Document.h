// The document's undo: the states of the map (store, surface, picture file,
// command surface) recorded around each command, and the steps back and
// forward between them. A step is recorded when the map changed; a command
// that changed only flags, the mode or marks on the surface updates the
// current state instead, so those come back with it.
#pragma once

#include <QRect>

#include "doc/History.h"

class Document {
  public:
    // pictureFile: where the under-drawing is kept while the program runs.
    Document(Store& st, Surface& surf, RecordingUi& ui, const QString& pictureFile)
        : st_(st), surf_(surf), ui_(ui), pictureFile_(pictureFile) {}

    History& Steps() { return history_; }
    // Off for one-shot runs (the command-line tool) that never step back.
    bool recording = true;

    // Records the state as it is now; true when it made a new step.
    // `changed` receives the part of the surface that differs from the
    // state before.
    bool Checkpoint(QRect* changed = nullptr);

    struct Restored {
        QRect changed;                // surface pixels that changed
        bool resized = false;         // the surface changed size
        bool pictureChanged = false;  // the under-drawing's file was rewritten
    };
    // Puts the live store, surface, picture file and command surface into the
    // current state, or one step back or forward.
    Restored RestoreCurrent() { return Restore(history_.Current()); }
    Restored Undo() { return Restore(history_.Back()); }
    Restored Redo() { return Restore(history_.Forward()); }

  private:
    Restored Restore(DocState& s);
    Store& st_;
    Surface& surf_;
    RecordingUi& ui_;
    const QString& pictureFile_;
    History history_;
};
