// Work files: saving, loading and starting a work.
#pragma once

#include <QString>
#include <string>
#include "base/Messages.h"
#include "editor/EditorPart.h"

struct WorkNames;

class FinishedMapCommands;

class WorkFileCommands : public EditorPart {
  public:
    WorkFileCommands(Workbench& w, FinishedMapCommands& finishedMaps)
        : EditorPart(w), finishedMaps_(finishedMaps) {}

    void SaveWorkClick();
    // 上書き保存: to the work file without a dialog, else as 作業保存 does.
    void SaveOverClick();
    // The under-drawing's line of the work file for a save under names;
    // false (with a message) when its name cannot be written.
    bool PictureLine(const WorkNames& names, std::string* picture);
    // Writes the work file and its bitmap as a pair; false (with a message)
    // when either could not be written.
    bool SaveWorkPair(const WorkNames& names, const std::string& picture);
    void LoadWorkClick();
    // ownHistory: the work opened starts an undo history of its own; an
    // import read back as a work stays one step of the work it replaced.
    bool LoadWorkFile(const QString& name, bool ownHistory = true);
    void NewWorkClick();
    // Before the work is replaced or the window closes: unsaved changes are
    // saved first (保存), let go (破棄) or kept, and the command stops
    // (キャンセル). The question is `question` under `caption`; true when
    // the command may go on.
    bool MayLetWorkGo(Msg question, Msg caption = Msg::CapConfirm);
    void ResetWork();
    void SpFileOpenClick();
    void SpFileSaveClick();
    // Line 4 of the work file last read, when its under-drawing could not be
    // read: saved again instead of "0", so that the link survives.
    std::string keptPicture_;

  private:
    FinishedMapCommands& finishedMaps_;
};
