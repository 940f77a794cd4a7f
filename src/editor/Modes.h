// The seven mouse modes: one tool each (editor/tools/), and the switch
// between them.
#pragma once

#include <memory>
#include "base/Commands.h"
#include "store/Mode.h"
#include "editor/EditorPart.h"

class Tool;
class InputPopup;
class AreaPositionDialog;
class ControlPoints;
struct Tools;

class Modes : public EditorPart {
  public:
    // The tools take the groups whose handlers they run.
    Modes(Workbench& w, InputPopup& inputPopup, AreaPositionDialog& areaPositions,
          ControlPoints& points);
    ~Modes();

    // One tool per mode (editor/tools/Tools.h); the current one is tools->For(st.Mode).
    std::unique_ptr<Tools> tools;
    Tool& CurrentTool();
    // Leaves the current mode and enters `next`: the only place a mode
    // changes, unless the new mode refuses.
    void SwitchMode(Mode next);
    SurfaceCursor ModeCursor() const;  // the surface cursor of the current mode
};
