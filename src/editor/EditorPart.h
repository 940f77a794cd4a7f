// A part of the editor: a service the commands share (the canvas, the modes,
// the command states, the undo steps, the session's files, the network's
// upkeep) or a handler group (the commands of one menu, popup or dialog, with
// the state they keep between calls). Every part works on the editor's
// workbench: the Ui, the document, the surface, the settings, progress and
// temporary files, and the services. A part that runs another group's
// handler takes that group in its constructor.
#pragma once

#include "editor/Workbench.h"

class EditorPart {
  public:
    explicit EditorPart(Workbench& w)
        : wb(w),
          ui(w.ui),
          doc(w.doc),
          st(w.st),
          surf(w.surf),
          progress(w.progress),
          settings(w.settings),
          temps(w.temps) {}
    EditorPart(const EditorPart&) = delete;
    EditorPart& operator=(const EditorPart&) = delete;

  protected:
    ~EditorPart() = default;

    Workbench& wb;
    Ui& ui;
    Document& doc;
    const Store& st;  // doc's map: read here, changed through doc's operations only
    Surface& surf;
    Progress& progress;
    Settings& settings;
    TempFiles& temps;
};
