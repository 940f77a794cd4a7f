// 全区域の点検: the failures in the problem list, their marks and repairs.
#pragma once

#include <memory>
#include "editor/EditorPart.h"

namespace compose {
struct ProblemList;
}

class TraceCommands;
class ComposeCommands;

class ProblemList : public EditorPart {
  public:
    ProblemList(Workbench& w, TraceCommands& tracing, ComposeCommands& composer)
        : EditorPart(w), tracing_(tracing), composer_(composer) {}

    // The failures in the problem list, or a word that there are none.
    void CheckAreasClick();
    // An entry chosen (0-based): the view goes there and its region turns red.
    void CheckListClick(int index);
    // The list closed: the red region is taken back.
    void CheckListClosed();
    // 修正 (all: すべて修正): the network repaired within the chosen entry's
    // region, or within every region whose entry fails for the same reason,
    // as one undo step; the list is made anew.
    void CheckListRepair(int index, bool all);
    // Takes back the red region of the chosen problem, if one is shown. Every
    // other command does so first, so that no recorded state holds it.
    void TakeBackCheckMark();
    std::shared_ptr<compose::ProblemList> problems_;

  private:
    TraceCommands& tracing_;
    ComposeCommands& composer_;
};
