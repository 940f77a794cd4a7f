// 区域名⇔位置: the area-position dialog, its list and the regions it paints.
#pragma once

#include <memory>
#include "editor/EditorPart.h"

namespace areas {
class RegionFills;
}

class AreaPositionDialog : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void ZoneArrangeClick();
    void ZpotListClick(int index);  // 0-based list entry
    void ZpotRedrawClick();
    // OK / close box of the area-position dialog; false keeps it open (a box
    // that does not parse).
    bool ZpotClose();
    int ZpotSelected = 1;
    bool ZpotOpen = false;  // the dialog is showing
    // The dialog's region fills, labelled while it is open (render/RegionFills.h).
    std::shared_ptr<areas::RegionFills> zpotFills;

  private:
    // Writes the boxes into the selected area; false (with a message) when
    // one does not parse, and then the table keeps its previous content.
    bool TakeOverBoxes();
    areas::RegionFills& Fills();
    void PaintRegions();
    void ShowSelected();
};
