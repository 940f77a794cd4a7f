// 自動トレース: the dialog, the traced network added to the work as one
// step, and its doubtful edges in the problem list.
#pragma once

#include <QRect>
#include <memory>
#include <vector>

#include "editor/EditorPart.h"

namespace usecase {
struct ProvisionalArea;
}

class PictureCommands;
class ProblemList;

class TraceCommands : public EditorPart {
  public:
    TraceCommands(Workbench& w, PictureCommands& picture, ProblemList& problemList)
        : EditorPart(w), picture_(picture), problemList_(problemList) {}

    void AutoTraceClick();
    // What the list of doubtful edges keeps while it is open.
    struct TracedEdges;
    std::shared_ptr<TracedEdges> traced_;
    // An edge chosen (0-based): the view goes there and the edge turns red.
    void TracedEdgeClick(int index);
    // Takes back the red edge, if one is shown.
    QRect UnmarkTracedEdge();
    // The positions traces put in, provisional until renamed or moved; when
    // deleted lines join two traced regions, one of their two goes (areas
    // named by a number alone are offered). `sharedBefore`: the areas
    // SharingProvisional gave before the lines were deleted.
    struct ProvisionalPositions;
    std::shared_ptr<ProvisionalPositions> provisional_;
    std::vector<int> SharingProvisional() const;
    void DropMergedProvisionalPositions(const std::vector<int>& sharedBefore);

  private:
    std::vector<usecase::ProvisionalArea> MaybeProvisional() const;
    PictureCommands& picture_;
    ProblemList& problemList_;
};
