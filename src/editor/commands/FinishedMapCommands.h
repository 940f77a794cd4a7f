// Finished maps: writing the .idt and reading one back into the work.
#pragma once

#include <QString>
#include "editor/commands/HandlerGroup.h"

class FinishedMapCommands : public HandlerGroup {
  public:
    using HandlerGroup::HandlerGroup;

    void WriteMapClick();
    void ReadMapClick();
    bool ReadFinishedMap(const QString& path);
};
