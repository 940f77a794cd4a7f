#include "usecases/ComposeMap.h"

#include "text/ShiftJis.h"
#include "usecases/CheckPositions.h"

namespace usecase {

ComposeOutcome ComposeMap(Document& doc, Surface& surf, const ComposeOptions& options) {
    const Store& st = doc.Map();
    ComposeOutcome out;
    if (st.PointLast < 3 || st.AreaCount < 1) {
        out.nothing = true;
        return out;
    }
    // The preparation and the composition rewrite the point list.
    doc.MarkEdited();
    options.prepare();
    // The composition works on its own copy (it shares every page until it
    // rewrites the lists, at the very end); its hooks still read the map.
    Store composed = st;
    const std::optional<compose::Failure> failed =
        compose::ComposeMap(composed, surf, options.hooks);
    doc.ReplaceMap(std::move(composed));
    if (!failed) {
        doc.MarkComposed();
        out.result.ok = true;
        out.areas = st.AreaCount;
        for (int a = 1; a <= st.AreaCount; ++a) out.outlines += compose::TracedSlots(st, a);
        out.records = st.PointLast + 1;
        return out;
    }
    const compose::Outcome o = failed->result.outcome;
    if (o != compose::Outcome::TooLarge || failed->position.x > 0) {
        const compose::Pt at = compose::ReportPlace(failed->result, failed->position);
        out.area = failed->area;
        out.slot = failed->slot;
        out.position = QPoint(failed->position.x, failed->position.y);
        out.place = QPoint(at.x, at.y);
        out.reason = QString::fromLatin1(compose::ReasonKey(failed->result));
    }
    const QString name = sjis::ToUnicode(st.AreaName(failed->area));
    Message& m = out.result.message;
    if (o == compose::Outcome::TooLarge) {
        m.literal = compose::FailureText(o, name);
        m.caption = Msg::CapError;
        m.icon = MsgIcon::Error;
    } else if (o == compose::Outcome::StepLimit) {
        m.literal = compose::FailureText(o, name);
        m.caption = Msg::CapStepLimit;
    } else if (o == compose::Outcome::Lost) {
        m.literal = compose::FailureText(compose::Outcome::Lost, QString());
        out.shown = FailureShown::Already;
    } else {
        const QString other = failed->result.otherArea > 0
                                  ? sjis::ToUnicode(st.AreaName(failed->result.otherArea))
                                  : QString();
        m.literal = compose::FailureText(failed->result, name, other);
        out.shown = FailureShown::AtMarks;
        out.centre = QPoint(failed->position.x, failed->position.y);
    }
    return out;
}

void RemoveRepeatedSegments(Document& doc, Progress* progress, Message* refused) {
    // The same readying the position check makes on its copy of the map.
    std::vector<Rec> v = doc.Map().PointsToVector();
    if (!WithoutRepeatedSegments(v, progress, refused)) return;
    doc.ReplacePoints(v);
    doc.ForgetComposition();
}

bool ReadyCompositionNetwork(Document& doc, Progress* progress, Message* refused) {
    const Store& st = doc.Map();
    if (st.PointLast < 3 || st.AreaCount < 1) return false;
    if (st.PointX(st.PointLast) >= 1) doc.AppendPoint(0, 0);
    RemoveRepeatedSegments(doc, progress, refused);
    return true;
}

}  // namespace usecase
