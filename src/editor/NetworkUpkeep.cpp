#include "editor/NetworkUpkeep.h"

#include <vector>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "ops/Network.h"
#include "usecases/ComposeMap.h"

void NetworkUpkeep::TidyPointList() {
    wb.canvas.ShowProgressBar();
    progress.SetStep(33);
    std::vector<Rec> v = st.PointsToVector();
    net::Tidy(v, [this] { progress.StepIt(); });
    // Tidying never lengthens the list, so the records always fit.
    doc.ReplacePoints(v);
    progress.StepIt();
    progress.StepIt();
    progress.SetStep(10);
    progress.SetPosition(0);
    progress.Hide();
}

void NetworkUpkeep::RemoveRepeatedSegments() {
    usecase::Message refused;
    usecase::RemoveRepeatedSegments(doc, &progress, &refused);
    usecase::Show(ui, refused);
}

// The composed outlines hold every inner boundary twice; editing needs the
// plain network back.
void NetworkUpkeep::UndoComposed() {
    if (!st.Composed) return;
    ui.SetBusy(true);
    const int32_t before = st.PointLast;
    RemoveRepeatedSegments();
    if (st.PointLast != before) doc.MarkChanged();
    wb.canvas.RestoreCursor();
}
