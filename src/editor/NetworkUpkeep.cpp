#include <vector>

#include "base/Messages.h"
#include "editor/Editor.h"
#include "editor/Report.h"
#include "ops/Network.h"
#include "usecases/CheckPositions.h"

void Editor::TidyPointList() {
    ShowProgressBar();
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

void Editor::RemoveRepeatedSegments() {
    // The same readying the position check makes on its copy of the map.
    std::vector<Rec> v = st.PointsToVector();
    usecase::Message refused;
    if (!usecase::WithoutRepeatedSegments(v, &progress, &refused)) {
        usecase::Show(ui, refused);
        return;
    }
    doc.ReplacePoints(v);
    doc.ForgetComposition();
}
