#include <vector>

#include "base/Messages.h"
#include "editor/Editor.h"
#include "editor/Report.h"
#include "ops/Network.h"
#include "usecases/ComposeMap.h"

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
    usecase::Message refused;
    usecase::RemoveRepeatedSegments(doc, &progress, &refused);
    usecase::Show(ui, refused);
}
