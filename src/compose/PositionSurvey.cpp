// 全区域の点検: every area position traced on its own, as `velmot-cli check`
// does, with the failures in a list the person walks through. Checking never
// changes the map: the store and the view come back as they were, and only
// the chosen entry's region is marked red on the view until the next choice.
#include <algorithm>

#include "compose/ProblemList.h"
#include "core/Editor.h"
#include "core/Messages.h"
#include "text/ShiftJis.h"
#include "view/CompositionView.h"

namespace compose {

void ProblemList::Mark(int i, Surface& view) {
    marked = i;
    const Pt p = failures[size_t(i)].position;
    rect =
        network.FloodFillSurface(p.x, p.y, Black, Red) & QRect(0, 0, view.Width(), view.Height());
    under.assign(size_t(rect.width()) * size_t(rect.height()), 0);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (network.Pixel(x, y) != Red) continue;
            under[size_t(y - rect.top()) * size_t(rect.width()) + size_t(x - rect.left())] =
                view.Pixel(x, y);
            view.SetPixel(x, y, Red);
        }
}

QRect ProblemList::Unmark(Surface& view) {
    if (marked < 0) return QRect();
    const QRect was = rect;
    // A pixel drawn over since (a new line, a redraw) keeps what it shows now.
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (network.Pixel(x, y) == Red && view.Pixel(x, y) == Red)
                view.SetPixel(
                    x, y,
                    under[size_t(y - rect.top()) * size_t(rect.width()) + size_t(x - rect.left())]);
    const Pt p = failures[size_t(marked)].position;
    network.FloodFillSurface(p.x, p.y, Red, Black);
    marked = -1;
    rect = QRect();
    under.clear();
    return was;
}

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

}  // namespace

namespace {

// Whether every pixel of s beyond the map's extent is black: then the
// composition view painted on s is the network on a blank surface.
bool BlackBeyondExtent(const Surface& s, const Store& st) {
    if (s.Blank()) return true;
    const int w = s.Width(), h = s.Height();
    const int ew = std::clamp<int>(st.MapWidth, 0, w), eh = std::clamp<int>(st.MapHeight, 0, h);
    auto black = [](const uint8_t* from, const uint8_t* to) {
        return std::all_of(from, to, [](uint8_t c) { return c == Black; });
    };
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = s.Data() + size_t(y) * size_t(w);
        if (!black(row + (y < eh ? ew : 0), row + w)) return false;
    }
    return true;
}

}  // namespace

std::vector<compose::CheckEntry> Editor::CheckAllPositions(Surface* network) {
    std::vector<compose::CheckEntry> out;
    // The preparation rewrites the point list; it is put back afterwards.
    const Store kept = st;
    if (ReadyCompositionNetwork(*this)) {
        // The check traces on the composition view as this surface would
        // show it, on a surface of its own. Where nothing lies beyond the
        // map's extent, that view is the network on black, and the network
        // alone tells what it shows: nothing is painted unless a position
        // needs it, or the list needs the view to mark a failure.
        Surface view;
        // A blank surface takes no memory until drawn on; should even that
        // be refused, the copy below is what the check always made.
        const bool blank = BlackBeyondExtent(surf, st) && view.Resize(surf.Width(), surf.Height());
        if (!blank) {
            view = surf;
            PaintCompositionView(*this, view);
        }
        auto paint = [&] { PaintCompositionView(*this, view); };
        ShowProgressBar();
        auto paintAndGoOn = [&] {
            paint();
            ShowProgressBar();
        };
        out = compose::CheckPositions(
            st, view, [this] { progress.StepIt(); },
            blank ? paintAndGoOn : std::function<void()>());
        progress.SetPosition(0);
        progress.Hide();
        if (network) {
            const bool failed = std::any_of(out.begin(), out.end(), [](const auto& e) {
                return e.result.outcome != compose::Outcome::Closed;
            });
            if (failed && view.Blank()) paint();
            *network = std::move(view);
        }
    }
    st = kept;
    ui.SurfaceChanged();
    return out;
}

void Editor::CheckAreasClick() {
    if (problems_) Repaint(ui, problems_->Unmark(surf));
    ui.SetBusy(true);
    auto list = std::make_shared<compose::ProblemList>();
    const std::vector<compose::CheckEntry> all = CheckAllPositions(&list->network);
    list->checked = st;
    ui.SetBusy(false);

    std::vector<CheckRow> rows;
    for (const compose::CheckEntry& e : all) {
        const compose::TraceResult& r = e.result;
        if (r.outcome == compose::Outcome::Closed) continue;
        const QString name = sjis::ToUnicode(st.AreaName(e.area));
        const QString other =
            r.otherArea > 0 ? sjis::ToUnicode(st.AreaName(r.otherArea)) : QString();
        const compose::Pt at = compose::ReportPlace(r, e.position);
        rows.push_back({e.area, e.slot, name, compose::ReasonCaption(r, other),
                        compose::FailureText(r, name, other), QPoint(at.x, at.y)});
        list->failures.push_back(e);
    }
    const QString caption = msg::Text(Msg::CapCheckAreas);
    if (rows.empty()) {
        problems_.reset();
        ui.CheckListShow(rows);
        if (all.empty())
            ui.Inform(msg::Text(Msg::CheckNothing), caption, MsgIcon::Information);
        else
            ui.Inform(msg::Format(Msg::CheckAllClosed, {QString::number(all.size())}), caption,
                      MsgIcon::Information);
        return;
    }
    problems_ = std::move(list);
    ui.CheckListShow(rows);
}

void Editor::CheckListClick(int index) {
    StepScope scope(*this);
    if (!problems_ || index < 0 || index >= int(problems_->failures.size())) return;
    // The map changed under the list: what it says may no longer hold, so
    // it is made again rather than marking a region that is not there.
    if (!Store::SameMap(problems_->checked, st)) return CheckAreasClick();
    Repaint(ui, problems_->Unmark(surf));
    problems_->Mark(index, surf);
    const compose::CheckEntry& e = problems_->failures[size_t(index)];
    const compose::Pt at = compose::ReportPlace(e.result, e.position);
    CenterViewOn(at.x, at.y);
    Repaint(ui, problems_->rect);
}

void Editor::TakeBackCheckMark() {
    if (problems_) Repaint(ui, problems_->Unmark(surf));
}

void Editor::CheckListClosed() {
    StepScope scope(*this);
    if (!problems_) return;
    Repaint(ui, problems_->Unmark(surf));
    problems_.reset();
}
