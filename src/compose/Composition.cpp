// The final boundary composition as the menu command runs it: preparation of
// the network and the surface, the tracing of every area position, and the
// rebuilt point list; failures are shown where they happened.
#include "compose/Composer.h"
#include "compose/KindMerge.h"
#include "core/Editor.h"
#include "text/ShiftJis.h"

bool Editor::PrepareComposition() {
    if (st.PointLast < 3 || st.AreaCount < 1) return false;
    if (st.PointX(st.PointLast) >= 1) st.AppendPoint(0, 0);
    RemoveRepeatedSegments();
    DisplayMap(Yellow, Yellow);
    MarkVertices(Yellow);
    return true;
}

void Editor::MergeKindGroups() {
    st.AssignKinds(compose::MergeKindGroups(st.KindsToVector()));
}

void Editor::ReMakeLineClick() {
    if (st.PointLast < 3 || st.AreaCount < 1) return;
    ui.SetBusy(true);
    st.Completed = false;
    // The preparation and the composition rewrite the point list.
    st.Modified = true;
    composeStop = ComposeStop{};
    PrepareComposition();
    ShowProgressBar();

    compose::ComposeHooks hooks;
    hooks.areaTick = [&] { progress.StepIt(); };
    hooks.cutTick = [&] { progress.StepIt(); };
    hooks.rebuilt = [&] { progress.SetPosition(50); };
    hooks.lostWay = [&](compose::Pt node) {
        CenterViewOn(node.x, node.y);
        ComposeMessage(compose::FailureText(compose::Outcome::Lost, QString()));
    };
    hooks.traced = [&] { progress.SetPosition(0); };
    const std::optional<compose::Failure> failed = compose::ComposeMap(st, surf, hooks);

    if (failed) {
        const compose::Outcome o = failed->result.outcome;
        if (o != compose::Outcome::TooLarge || failed->position.x > 0) {
            const compose::Pt at = compose::ReportPlace(failed->result, failed->position);
            composeStop = {failed->area, failed->slot,
                           QPoint(failed->position.x, failed->position.y), QPoint(at.x, at.y),
                           QString::fromLatin1(compose::ReasonKey(failed->result))};
        }
        const QString name = sjis::ToUnicode(st.AreaName(failed->area));
        if (o == compose::Outcome::TooLarge) {
            ui.Inform(compose::FailureText(o, name), QStringLiteral("エラー"), MsgIcon::Error);
        } else if (o == compose::Outcome::StepLimit) {
            ui.Inform(compose::FailureText(o, name), QStringLiteral("アチャー(;o;)"),
                      MsgIcon::None);
        } else if (o != compose::Outcome::Lost) {
            // A lost way has shown its message at the node already.
            const QString other = failed->result.otherArea > 0
                                      ? sjis::ToUnicode(st.AreaName(failed->result.otherArea))
                                      : QString();
            CenterViewOn(failed->position.x, failed->position.y);
            ComposeMessage(compose::FailureText(failed->result, name, other));
        }
    } else {
        DisableRemakeCommands();
        ui.SetEnabled(Cmd::WriteMap, true);
        st.Completed = true;
        st.Composed = true;
        BuildModeClick();
    }
    progress.SetPosition(0);
    progress.Hide();
    ReDraw();
}
