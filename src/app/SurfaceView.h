// The drawing surface on screen: shows the editor's 16-colour surface at the
// view's magnification and hands every mouse event to the editor in surface
// pixels. Zoom, pan and snapping live here, so the editor never sees them.
#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "app/ViewLayers.h"
#include "app/ViewScale.h"
#include "base/Commands.h"

class Editor;
class MainWindow;
class QScrollArea;

class SurfaceView : public QWidget {
    Q_OBJECT
  public:
    SurfaceView(Editor& ed, MainWindow& win);
    // Takes the surface's current size and repaints.
    void SurfaceChanged();
    // Repaints only this rectangle of the surface (in surface pixels).
    void SurfaceRegionChanged(const QRect& r);
    void SetModeCursor(SurfaceCursor c);
    SurfaceCursor ModeCursor() const { return cursor_; }

    // ---- zoom ----
    ViewScale Scale() const { return scale_; }
    // Sets the magnification to 2^exp (clamped to 1/8 .. 16), keeping the
    // surface point under viewport pixel anchor where it is.
    void SetZoom(int exp, QPointF anchor);
    // Double, halve, back to 1:1: about the middle of the viewport.
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    // The largest magnification that shows the whole surface.
    void FitMap();
    // Scrolls so that this surface pixel is in the middle of the viewport.
    void CentreOn(QPoint surface);

    // ---- the view in surface pixels, as the editor's keyboard sees it ----
    QPoint ToSurface(QPoint widget) const { return scale_.ToSurface(widget); }
    QPoint ScrollInSurface() const;
    void ScrollToSurface(QPoint p);
    QSize ClientInSurface() const;
    // The surface pixel under the pointer. Zoomed out, a pixel the keys moved
    // the pointer to is kept while the pointer stays on the screen pixel
    // showing it, so a one-pixel step is not lost to the coarser screen.
    QPoint PointerSurface() const;
    void PlacePointer(QPoint surface);

    // ---- snapping ----
    // Tolerance in screen pixels; negative turns snapping off.
    void SetSnapTolerance(int pixels) { snapTol_ = pixels; }
    int SnapTolerance() const { return snapTol_; }
    // The map point a press here would snap to, shown under the cursor.
    std::optional<QPoint> SnapMark() const { return mark_; }

  signals:
    void ZoomChanged();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    QScrollArea* Area() const;
    // The surface pixel the editor should get for a left press or a drop at
    // widget pixel w: a nearby map point unless Shift is held.
    QPoint Snapped(QPoint w, Qt::KeyboardModifiers mods) const;
    std::optional<QPoint> SnapFor(QPoint w, Qt::KeyboardModifiers mods) const;
    void ShowMark(std::optional<QPoint> p);
    void UpdateMark(QPoint w, Qt::KeyboardModifiers mods);
    QRect MarkRect(QPoint p) const;
    void RestoreCursor();

    Editor& ed_;
    MainWindow& win_;
    SurfaceCursor cursor_ = SurfaceCursor::CrossLine;
    ViewScale scale_;
    // The network's places, told of every change of the surface (the map
    // never changes without one), and the zoomed-out levels.
    view::NetworkIndex network_;
    view::ZoomedOut zoomedOut_;
    void FitSize();  // the widget as large as the surface at this scale
    int wheelRest_ = 0;
    int snapTol_ = 6;
    std::optional<QPoint> mark_;
    // Panning: by the middle button, or any button while Space is held.
    bool panning_ = false;
    QPoint panLast_;
    bool spaceHeld_ = false, spaceUsed_ = false;
    // X11 marks a key's repeat by the press that follows its release at
    // once; when that press is late the release looks real. So Space counts
    // as up only when no press follows within a moment.
    QTimer spaceUp_;
    void SpaceUp();
    // Where the keys last put the pointer: screen position and surface pixel.
    QPoint placedScreen_, placedSurface_;
    bool placed_ = false;
};
