// Finished maps: writing the .idt and reading one back into the work.
#pragma once

#include <QString>
#include "editor/EditorPart.h"

class FinishedMapCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void WriteMapClick();
    void ReadMapClick();
    bool ReadFinishedMap(const QString& path);
};
