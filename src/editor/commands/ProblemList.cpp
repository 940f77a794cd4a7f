// 全区域の点検: every area position traced on its own, as `velmot-cli check`
// does, with the failures in a list the person walks through. Checking never
// changes the map: the store and the view come back as they were, and only
// the chosen entry's region is marked red on the view until the next choice.
#include "compose/ProblemList.h"

#include <algorithm>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/ComposeCommands.h"
#include "editor/commands/ProblemList.h"
#include "editor/commands/TraceCommands.h"
#include "text/ShiftJis.h"
#include "usecases/CheckPositions.h"
#include "usecases/CleanMap.h"

namespace compose {
namespace {

// The list's short word for why a position failed.
QString ReasonCaption(const TraceResult& r, const QString& other) {
    switch (r.reason) {
        case Reason::Leaks:
            return msg::Text(Msg::ReasonNotClosed);
        case Reason::SharedRegion:
            return msg::Format(Msg::ReasonSharedWith, {other});
        case Reason::Crossing:
            return msg::Text(Msg::ReasonCrossing);
        case Reason::DeadEnd:
            return msg::Text(Msg::ReasonDeadEnd);
        case Reason::Untraceable:
            return msg::Text(Msg::ReasonUntraceable);
        case Reason::None:
            break;
    }
    switch (r.outcome) {
        case Outcome::NoStart:
            return msg::Text(Msg::ReasonNoStart);
        case Outcome::NoDirection:
            return msg::Text(Msg::ReasonNoDirection);
        case Outcome::Lost:
            return msg::Text(Msg::ReasonLost);
        case Outcome::NotClosed:
            return msg::Text(Msg::ReasonNotClosed);
        case Outcome::StepLimit:
            return msg::Text(Msg::ReasonStepLimit);
        case Outcome::TooLarge:
            return msg::Text(Msg::ReasonTooLarge);
        case Outcome::Astray:
            return msg::Text(Msg::ReasonUntraceable);
        case Outcome::Closed:
            break;
    }
    return QString();
}

}  // namespace
}  // namespace compose

namespace {

void Repaint(Ui& ui, const QRect& r) {
    if (!r.isEmpty()) ui.SurfaceRegionChanged(r);
}

// Where an entry's row takes the view. Two positions in one region are each
// listed at their own place (the row names the other area), so that the
// position just put in the wrong region is where its row goes.
compose::Pt RowPlace(const compose::CheckEntry& e) {
    if (e.result.reason == compose::Reason::SharedRegion) return e.position;
    return compose::ReportPlace(e.result, e.position);
}

}  // namespace

void ProblemList::CheckAreasClick() {
    if (problems_) Repaint(ui, problems_->Unmark(surf));
    Repaint(ui, tracing_.UnmarkTracedEdge());
    tracing_.traced_.reset();
    ui.SetBusy(true);
    auto list = std::make_shared<compose::ProblemList>();
    usecase::CheckOptions options;
    options.progress = &progress;
    options.keepNetwork = true;
    usecase::CheckOutcome checked = usecase::CheckAllPositions(st, surf, options);
    ui.SurfaceChanged();
    usecase::Show(ui, checked.note);
    const std::vector<compose::CheckEntry>& all = checked.entries;
    list->network = std::move(checked.network);
    list->checked = st;
    ui.SetBusy(false);

    std::vector<CheckRow> rows;
    for (const compose::CheckEntry& e : all) {
        const compose::TraceResult& r = e.result;
        if (r.outcome == compose::Outcome::Closed) continue;
        const QString name = sjis::ToUnicode(st.AreaName(e.area));
        const QString other =
            r.otherArea > 0 ? sjis::ToUnicode(st.AreaName(r.otherArea)) : QString();
        const compose::Pt at = RowPlace(e);
        rows.push_back({e.area, e.slot, name, compose::ReasonCaption(r, other),
                        compose::FailureText(r, name, other), QPoint(at.x, at.y)});
        list->failures.push_back(e);
    }
    if (rows.empty()) {
        problems_.reset();
        ui.CheckListShow(rows);
        usecase::Show(ui, checked.result.message);
        return;
    }
    problems_ = std::move(list);
    ui.CheckListShow(rows);
}

void ProblemList::CheckListClick(int index) {
    Steps::Scope scope(wb.steps);
    if (tracing_.traced_) return tracing_.TracedEdgeClick(index);
    if (!problems_ || index < 0 || index >= int(problems_->failures.size())) return;
    // The map changed under the list: what it says may no longer hold, so
    // it is made again rather than marking a region that is not there.
    if (!Store::SameMap(problems_->checked, st)) return CheckAreasClick();
    Repaint(ui, problems_->Unmark(surf));
    problems_->Mark(index, surf);
    const compose::CheckEntry& e = problems_->failures[size_t(index)];
    const compose::Pt at = RowPlace(e);
    wb.canvas.CenterViewOn(at.x, at.y);
    Repaint(ui, problems_->rect);
}

void ProblemList::TakeBackCheckMark() {
    if (problems_) Repaint(ui, problems_->Unmark(surf));
    Repaint(ui, composer_.composeFailMark_.TakeBack(surf));
    Repaint(ui, tracing_.UnmarkTracedEdge());
}

void ProblemList::CheckListClosed() {
    Steps::Scope scope(wb.steps);
    Repaint(ui, tracing_.UnmarkTracedEdge());
    tracing_.traced_.reset();
    if (!problems_) return;
    Repaint(ui, problems_->Unmark(surf));
    problems_.reset();
}

void ProblemList::CheckListRepair(int index, bool all) {
    Steps::Scope scope(wb.steps);
    if (!problems_ || index < 0 || index >= int(problems_->failures.size())) return;
    if (!Store::SameMap(problems_->checked, st)) return CheckAreasClick();
    Repaint(ui, problems_->Unmark(surf));
    // Where to repair: the failed regions (found on the checked network),
    // widened by how far a line end may be from what it should meet.
    compose::RepairOptions options;
    const std::string reason = compose::ReasonKey(problems_->failures[size_t(index)].result);
    Surface& network = problems_->network;
    for (size_t i = 0; i < problems_->failures.size(); ++i) {
        const compose::CheckEntry& e = problems_->failures[i];
        if (int(i) != index && !(all && compose::ReasonKey(e.result) == reason)) continue;
        const QRect r = network.FloodFillSurface(e.position.x, e.position.y, Black, Red);
        network.FloodFillSurface(e.position.x, e.position.y, Red, Black);
        const compose::Pt at = compose::ReportPlace(e.result, e.position);
        const int m = options.snap + 2;
        options.within.push_back(
            (r.isEmpty() ? QRect(at.x, at.y, 1, 1) : r).adjusted(-m, -m, m, m));
    }
    Store map = st;
    const usecase::CleanOutcome cleaned = usecase::CleanNetwork(map, options);
    for (const compose::Repair& r : cleaned.repairs)
        if (r.kind == compose::RepairKind::CrossingKept) {
            ui.Inform(msg::Format(Msg::RepairCrossingKept,
                                  {QString::number(r.place.x), QString::number(r.place.y)}),
                      msg::Text(Msg::RepairButton), MsgIcon::Information);
            break;
        }
    if (!cleaned.result.ok) {
        usecase::Show(ui, cleaned.result.message);
        return;
    }
    doc.ReplaceMap(std::move(map));
    ReDraw(wb);
    usecase::Show(ui, cleaned.result.message);
    CheckAreasClick();
}
