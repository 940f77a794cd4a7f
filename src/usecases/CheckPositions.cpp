#include "usecases/CheckPositions.h"

#include <algorithm>

#include "base/Progress.h"
#include "ops/Network.h"
#include "render/Render.h"

namespace usecase {

namespace {

void Show(Progress* p) {
    if (!p) return;
    p->SetPosition(0);
    p->Show();
}

void Hide(Progress* p) {
    if (!p) return;
    p->SetPosition(0);
    p->Hide();
}

std::function<void()> Ticker(Progress* p) {
    if (!p) return {};
    return [p] { p->StepIt(); };
}

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

bool WithoutRepeatedSegments(std::vector<Rec>& v, Progress* progress, Message* refused) {
    Show(progress);
    std::vector<Rec> once = v;
    net::DropRepeatedSegments(once, Ticker(progress));
    if (progress) progress->StepIt();
    // Cutting chains adds separators, which the tidy below mostly takes out
    // again; only a list that would not fit even tidied is refused.
    const bool tooLong = once.size() > size_t(Store::Capacity);
    if (tooLong) {
        net::Tidy(once);
        if (once.size() > size_t(Store::Capacity)) {
            Hide(progress);
            *refused = Say(Msg::RepeatedSegmentsTooMany, {}, Msg::CapConfirm, MsgIcon::Warning);
            return false;
        }
    }
    if (progress) progress->StepIt();
    Hide(progress);
    if (!tooLong) {
        // The tidy's own run of the bar.
        Show(progress);
        if (progress) progress->SetStep(33);
        net::Tidy(once, Ticker(progress));
        if (progress) {
            progress->StepIt();
            progress->StepIt();
            progress->SetStep(10);
        }
        Hide(progress);
    }
    v.swap(once);
    return true;
}

CheckOutcome CheckAllPositions(const Store& map, const Surface& surf, const CheckOptions& options) {
    CheckOutcome out;
    out.result.ok = true;
    out.result.message = Say(Msg::CheckNothing, {}, Msg::CapCheckAreas, MsgIcon::Information);
    if (map.PointLast < 3 || map.AreaCount < 1) return out;
    // The network as the composition readies it, on a copy that shares the
    // map's pages until it is rewritten.
    Store st = map;
    if (st.PointX(st.PointLast) >= 1) st.AppendPoint(0, 0);
    std::vector<Rec> v = st.PointsToVector();
    if (WithoutRepeatedSegments(v, options.progress, &out.note)) {
        st.AssignPoints(v);
        st.ForgetComposition();
    }
    Progress* progress = options.progress;
    // The check traces on the composition view as this surface would show
    // it, on a surface of its own. Where nothing lies beyond the map's
    // extent, that view is the network on black, and the network alone tells
    // what it shows: nothing is painted unless a position needs it, or the
    // list needs the view to mark a failure.
    Surface view;
    auto paint = [&] {
        Show(progress);
        render::CompositionView(st, view, false, Ticker(progress));
        Hide(progress);
    };
    // A blank surface takes no memory until drawn on; should even that be
    // refused, the copy below is what the check always made.
    const bool blank = BlackBeyondExtent(surf, st) && view.Resize(surf.Width(), surf.Height());
    if (!blank) {
        view = surf;
        paint();
    }
    Show(progress);
    auto paintAndGoOn = [&] {
        paint();
        Show(progress);
    };
    out.entries = compose::CheckPositions(st, view, Ticker(progress),
                                          blank ? paintAndGoOn : std::function<void()>());
    Hide(progress);
    const size_t failed =
        size_t(std::count_if(out.entries.begin(), out.entries.end(), [](const auto& e) {
            return e.result.outcome != compose::Outcome::Closed;
        }));
    if (failed > 0) {
        out.result = Result{};
    } else if (!out.entries.empty()) {
        out.result.message = Say(Msg::CheckAllClosed, {QString::number(out.entries.size())},
                                 Msg::CapCheckAreas, MsgIcon::Information);
    }
    if (options.keepNetwork) {
        if (failed > 0 && view.Blank()) paint();
        out.network = std::move(view);
    }
    return out;
}

}  // namespace usecase
