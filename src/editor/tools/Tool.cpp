#include "editor/tools/Tool.h"

#include "editor/Services.h"
#include "editor/tools/Tools.h"

namespace {

const Cmd kModeItems[] = {Cmd::BuildMode, Cmd::EditMode, Cmd::LineKindMode, Cmd::CuttingMode,
                          Cmd::PickUpMode, Cmd::ControlPointMode};

}  // namespace

void Tool::ShowMode(bool inputDown, bool editDown, Cmd item) {
    wb.ui.SetModeButtons(inputDown, editDown);
    for (Cmd c : kModeItems) wb.ui.SetChecked(c, c == item);
    wb.ui.SetSurfaceCursor(Cursor());
}

// Line-kind colouring and a trimming outline exist only on the surface; the
// redraw (already in the new mode) wipes them.
void Tool::WipeMarksFor(::Mode next) {
    if (!wb.modes.tools->For(next).WipesMarksOnEntry()) return;
    wb.doc.SetMode(next);
    ReDraw(wb);
}

void Tool::TakeOver() {
    wb.doc.SetMode(Mode());
    wb.modes.tools->trimming.TempPolyLast = -1;
    wb.modes.tools->jigsaw.TempPolyLast = -1;
}

Tool& Tools::For(::Mode m) {
    switch (m) {
        case Mode::Input:
            return input;
        case Mode::Edit:
            return edit;
        case Mode::AreaPosition:
            return areaPosition;
        case Mode::Legend:
            return legend;
        case Mode::LineKind:
            return lineKind;
        case Mode::Trimming:
            return trimming;
        case Mode::Jigsaw:
            return jigsaw;
        case Mode::ControlPoints:
            return controlPoints;
    }
    return input;
}

bool Tools::GestureUnderWay() const {
    for (const Tool* t : std::initializer_list<const Tool*>{&input, &edit, &areaPosition, &legend,
                                                            &lineKind, &trimming, &jigsaw,
                                                            &controlPoints})
        if (t->GestureUnderWay()) return true;
    return false;
}

void Tools::CancelAll() {
    for (Tool* t : std::initializer_list<Tool*>{&input, &edit, &areaPosition, &legend, &lineKind,
                                                &trimming, &jigsaw, &controlPoints})
        t->Cancel();
}
