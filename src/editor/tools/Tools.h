// The seven mouse modes' tools and the set the editor keeps of them.
#pragma once

#include <QPointF>
#include <array>
#include <cstdint>

#include "editor/tools/Tool.h"

// Tracing: a left click adds a point; the right button offers the input popup.
class InputTool : public Tool {
  public:
    InputTool(Workbench& w, InputPopup& inputPopup) : Tool(w), inputPopup_(inputPopup) {}
    ::Mode Mode() const override { return ::Mode::Input; }
    void Enter() override;
    void Leave(::Mode next) override;
    void Press(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;
    // Undo back into this mode takes the line up again as it was.
    void Cancel() override;

  private:
    // A new point where the person clicked; a line left open when the mode
    // was left is ended first, so that the new point starts a line of its own.
    void AddPoint(QPoint p);
    // The line being traced when the mode was left: it is finished, and the
    // next point must not join it with a long stray segment.
    bool lineLeft_ = false;
    InputPopup& inputPopup_;
};

// Dragging points with a rubber band, and the edit popup.
class EditTool : public Tool {
  public:
    using Tool::Tool;
    ::Mode Mode() const override { return ::Mode::Edit; }
    void Enter() override;
    void Press(Qt::MouseButton button, QPoint p) override;
    void Move(QPoint p) override;
    void Release(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;
    bool GestureUnderWay() const override { return GrabIndex > 0; }
    void Cancel() override { GrabIndex = 0; }

    // The point record under (x, y) is grabbed (none: GrabIndex 0).
    void GrabPoint(int x, int y);
    // The grabbed point's two segments follow the pointer, drawn in XOR.
    void RubberBand(int x, int y);
    // The grabbed point goes to (x, y) and the map is redrawn.
    void DropPoint(int x, int y);
    // Enables the popup's items for the clicked pixel (a point or a line)
    // and shows it now at `screen` or when the button comes up.
    void OfferEditPopup(bool showNow, QPoint screen);

    int32_t GrabIndex = 0;         // the grabbed record, 0 when none
    int16_t GrabX = 0, GrabY = 0;  // where its rubber band is drawn to
};

// Marking runs with a line kind: every click offers the kind popup.
class LineKindTool : public Tool {
  public:
    using Tool::Tool;
    ::Mode Mode() const override { return ::Mode::LineKind; }
    void Enter() override;
    void Leave(::Mode next) override { WipeMarksFor(next); }
    bool WipesMarksOnEntry() const override { return false; }  // it shows the kinds
    void Press(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;

    // Enables the popup's items for the colour of the clicked pixel.
    void OfferKindPopup(bool showNow, QPoint screen);
};

// A point of the outline, which may lie off the surface.
struct PolyPoint {
    int32_t x = 0, y = 0;
};

// The corners of a trimming outline; the popup cuts inside or outside it.
class TrimmingTool : public Tool {
  public:
    using Tool::Tool;
    static constexpr int MaxCorners = 500;
    ::Mode Mode() const override { return ::Mode::Trimming; }
    void Enter() override;
    void Leave(::Mode next) override { WipeMarksFor(next); }
    void Press(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;
    bool GestureUnderWay() const override;  // corners set in this mode
    void Cancel() override { TempPolyLast = -1; }

    // Adds a corner, drawing the side from the corner before.
    void TrimCornerClick(int x, int y);
    void OfferTrimPopup(bool showNow, QPoint screen);

    std::array<PolyPoint, MaxCorners + 1> TempPoly{};
    int16_t TempPolyLast = -1;  // index of the last corner, -1 when none
};

// Lifting a piece (an area's outline and position) and dropping it elsewhere.
class JigsawTool : public Tool {
  public:
    using Tool::Tool;
    ::Mode Mode() const override { return ::Mode::Jigsaw; }
    bool MayEnter() override;
    void Enter() override;
    void Press(Qt::MouseButton button, QPoint p) override;
    void Move(QPoint p) override;
    void Release(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;
    bool GestureUnderWay() const override { return PickFirst > 0; }
    void Cancel() override;

    void PickUpPiece(int x, int y);
    // The lifted outline follows the pointer, drawn in XOR.
    void DragPiece(int x, int y);
    void DropPiece(int x, int y);

    // The piece lifted: its chain of point records (PickFirst 0 when none)
    // and its area position.
    int32_t PickFirst = 0, PickLast = 0;
    int16_t PickArea = 0, PickSlot = 0;
    int16_t PickAnchorX = 0, PickAnchorY = 0, PickPrevX = 0, PickPrevY = 0;
    // The outline shown while dragging: at most the chain's first 501 points.
    std::array<PolyPoint, 501> TempPoly{};
    int16_t TempPolyLast = -1;
};

// The area-position dialog is open: a click puts a position in its boxes.
class AreaPositionTool : public Tool {
  public:
    AreaPositionTool(Workbench& w, AreaPositionDialog& areaPositions)
        : Tool(w), areaPositions_(areaPositions) {}
    ::Mode Mode() const override { return ::Mode::AreaPosition; }
    void Enter() override;
    bool WipesMarksOnEntry() const override { return false; }  // it paints its own view
    void Press(Qt::MouseButton button, QPoint p) override;
    // False when the person declines a position in another area's region.
    bool MaySharePlace(int x, int y);
    bool GestureUnderWay() const override;  // until the dialog closes
  private:
    AreaPositionDialog& areaPositions_;
};

// The next click places the legend's box.
class LegendTool : public Tool {
  public:
    using Tool::Tool;
    ::Mode Mode() const override { return ::Mode::Legend; }
    void Enter() override;
    // The view stays as it is until the legend is placed.
    bool WipesMarksOnEntry() const override { return false; }
    void Press(Qt::MouseButton button, QPoint p) override;
    bool GestureUnderWay() const override;  // until the click
};

// 基準点: a click places a control point and asks for its real coordinates;
// a point's mark is dragged to move it, a right click asks its coordinates again.
class ControlPointTool : public Tool {
  public:
    ControlPointTool(Workbench& w, ControlPoints& controlPoints)
        : Tool(w), controlPoints_(controlPoints) {}
    ::Mode Mode() const override { return ::Mode::ControlPoints; }
    void Enter() override;
    void Press(Qt::MouseButton button, QPoint p) override;
    void Move(QPoint p) override;
    void Release(Qt::MouseButton button, QPoint p) override;
    bool Key(int key, QPoint p) override;
    bool GestureUnderWay() const override { return Grabbed >= 0; }
    void Cancel() override { Grabbed = -1; }

    // How near (surface pixels) a press must be to take hold of a point.
    static constexpr double Reach = 6;
    int Grabbed = -1;       // the point being dragged, -1 when none
    QPoint PressAt, DragAt; // where the drag began and where it is now
    // Where the view shows point i meanwhile: it moves as far as the pointer did.
    QPointF ShownAt(int i, QPointF at) const {
        return i == Grabbed ? at + QPointF(DragAt - PressAt) : at;
    }

  private:
    ControlPoints& controlPoints_;
};

struct Tools {
    Tools(Workbench& w, InputPopup& inputPopup, AreaPositionDialog& areaPositions,
          ControlPoints& points)
        : input(w, inputPopup),
          edit(w),
          areaPosition(w, areaPositions),
          legend(w),
          lineKind(w),
          trimming(w),
          jigsaw(w),
          controlPoints(w, points) {}
    Tool& For(Mode m);
    // Whether any tool has a gesture under way: a point grabbed in edit mode
    // stays grabbed while another mode is visited.
    bool GestureUnderWay() const;
    void CancelAll();

    InputTool input;
    EditTool edit;
    AreaPositionTool areaPosition;
    LegendTool legend;
    LineKindTool lineKind;
    TrimmingTool trimming;
    JigsawTool jigsaw;
    ControlPointTool controlPoints;
};
