// The seven tools and the switch between them: the only place a mode is left
// and another entered.
#include "editor/Modes.h"

#include "editor/Cursors.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"

Modes::Modes(Workbench& w, InputPopup& inputPopup, AreaPositionDialog& areaPositions,
             ControlPoints& points)
    : EditorPart(w), tools(std::make_unique<Tools>(w, inputPopup, areaPositions, points)) {}

Modes::~Modes() = default;

void Modes::SwitchMode(Mode next) {
    Tool& to = tools->For(next);
    if (!to.MayEnter()) return;
    tools->For(st.Mode).Leave(next);
    to.Enter();
}

Tool& Modes::CurrentTool() {
    return tools->For(st.Mode);
}

SurfaceCursor Modes::ModeCursor() const {
    return CursorOf(st.Mode);
}
