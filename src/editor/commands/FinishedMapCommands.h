// Finished maps: writing the .idt and reading one back into the work.
#pragma once

#include <QString>
#include "editor/EditorPart.h"

class WorkFileCommands;

class FinishedMapCommands : public EditorPart {
  public:
    FinishedMapCommands(Workbench& w, WorkFileCommands& workFiles)
        : EditorPart(w), workFiles_(workFiles) {}

    void WriteMapClick();
    void ReadMapClick();
    bool ReadFinishedMap(const QString& path);

  private:
    WorkFileCommands& workFiles_;
};
