#include "editor/EditorPart.h"

#include "editor/Editor.h"

EditorPart::EditorPart(Editor& e)
    : ed(e),
      ui(e.ui),
      doc(e.doc),
      st(e.st),
      surf(e.surf),
      progress(e.progress),
      settings(e.settings),
      temps(e.temps) {}
