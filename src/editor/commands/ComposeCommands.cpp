// The final boundary composition as the menu command runs it: preparation of
// the network and the surface, the tracing of every area position, and the
// rebuilt point list; failures are shown where they happened.
#include "editor/commands/ComposeCommands.h"

#include "compose/Composer.h"
#include "compose/KindMerge.h"
#include "editor/CompositionView.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "usecases/ComposeMap.h"

bool ReadyCompositionNetwork(Workbench& wb) {
    usecase::Message refused;
    const bool ready = usecase::ReadyCompositionNetwork(wb.doc, &wb.progress, &refused);
    usecase::Show(wb.ui, refused);
    return ready;
}

bool ComposeCommands::PrepareComposition() {
    if (!ReadyCompositionNetwork(wb)) return false;
    PaintCompositionView(wb);
    return true;
}

void ComposeCommands::MergeKindGroups() {
    doc.ReplaceKinds(compose::MergeKindGroups(st.KindsToVector()));
}

void ComposeCommands::ReMakeLineClick() {
    if (st.PointLast < 3 || st.AreaCount < 1) return;
    ui.SetBusy(true);
    composeStop = ComposeStop{};
    usecase::ComposeOptions options;
    options.prepare = [&] {
        PrepareComposition();
        wb.canvas.ShowProgressBar();
    };
    compose::ComposeHooks& hooks = options.hooks;
    hooks.areaTick = [&] { progress.StepIt(); };
    hooks.cutTick = [&] { progress.StepIt(); };
    hooks.rebuilt = [&] { progress.SetPosition(50); };
    hooks.lostWay = [&](compose::Pt node) {
        wb.canvas.CenterViewOn(node.x, node.y);
        wb.canvas.ComposeMessage(compose::FailureText(compose::Outcome::Lost, QString()));
    };
    hooks.traced = [&] { progress.SetPosition(0); };
    const usecase::ComposeOutcome r = usecase::ComposeMap(doc, surf, options);

    composeStop = {r.area, r.slot, r.position, r.place, r.reason};
    if (r.result.ok) {
        ui.ShowStatus(msg::Format(
            Msg::StatusComposed,
            {QString::number(r.areas), QString::number(r.outlines), QString::number(r.records)}));
        wb.states.DisableRemakeCommands();
        ui.SetEnabled(Cmd::WriteMap, true);
        wb.modes.SwitchMode(Mode::Input);
    } else if (r.shown == usecase::FailureShown::Box) {
        usecase::Show(ui, r.result.message);
    } else if (r.shown == usecase::FailureShown::AtMarks) {
        wb.canvas.CenterViewOn(r.centre.x(), r.centre.y());
        wb.canvas.ComposeMessage(r.result.message.Text());
        // The red region and the place of the gap or crossing stay in view
        // over the map until the next command.
        composeFailMark_.TakeShape(surf, r.place, 6);
    }
    progress.SetPosition(0);
    progress.Hide();
    ReDraw(wb);
    if (const QRect laid = composeFailMark_.Lay(surf); !laid.isEmpty())
        ui.SurfaceRegionChanged(laid);
}
