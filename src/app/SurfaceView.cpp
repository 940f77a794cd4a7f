#include "app/SurfaceView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

#include "app/Artwork.h"
#include "app/MainWindow.h"
#include "app/Snap.h"
#include "editor/Editor.h"

namespace {
// Event positions can be fractional on scaled screens; the pixel is the one
// the position falls in.
QPoint Pixel(QPointF p) {
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}
// One wheel notch.
constexpr int Notch = 120;
}  // namespace

SurfaceView::SurfaceView(Editor& ed, MainWindow& win) : ed_(ed), win_(win) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(SurfaceCursorShape(cursor_));
    spaceUp_.setSingleShot(true);
    spaceUp_.setInterval(50);
    connect(&spaceUp_, &QTimer::timeout, this, &SurfaceView::SpaceUp);
    SurfaceChanged();
}

QScrollArea* SurfaceView::Area() const {
    return win_.Flat();
}

void SurfaceView::SurfaceChanged() {
    network_.Invalidate();
    zoomedOut_.Invalidate();
    FitSize();
}

void SurfaceView::FitSize() {
    const QSize size(scale_.WidgetLength(ed_.surf.Width()), scale_.WidgetLength(ed_.surf.Height()));
    if (size != this->size()) setFixedSize(size);
    update();
}

void SurfaceView::SurfaceRegionChanged(const QRect& r) {
    network_.Invalidate();
    zoomedOut_.Invalidate(r);
    // The widget cells that show the changed surface pixels, and round them
    // what a line drawn over them (its width, a point's handle; zoomed out,
    // the antialiased edge in the next pixel) reaches.
    const int reach = scale_.exp > 0 ? 5 : scale_.exp < 0 ? 2 : 0;
    update((scale_.Square(r.topLeft()) | scale_.Square(r.bottomRight()))
               .adjusted(-reach, -reach, reach, reach));
}

void SurfaceView::SetModeCursor(SurfaceCursor c) {
    cursor_ = c;
    if (!panning_ && !spaceHeld_) RestoreCursor();
}

void SurfaceView::RestoreCursor() {
    setCursor(SurfaceCursorShape(cursor_));
}

// ---- zoom ----

void SurfaceView::SetZoom(int exp, QPointF anchor) {
    exp = ViewScale::Clamp(exp);
    if (exp == scale_.exp) return;
    QScrollArea* area = Area();
    // The surface point under the anchor, in fractions of a surface pixel so
    // that zooming in and out again comes back to the same place.
    const QPointF at = (anchor - QPointF(pos())) / scale_.Zoom();
    scale_.exp = exp;
    placed_ = false;
    ShowMark(std::nullopt);
    FitSize();  // the new size gives the scroll bars their new ranges
    area->horizontalScrollBar()->setValue(int(std::lround(at.x() * scale_.Zoom() - anchor.x())));
    area->verticalScrollBar()->setValue(int(std::lround(at.y() * scale_.Zoom() - anchor.y())));
    emit ZoomChanged();
}

void SurfaceView::ZoomIn() {
    SetZoom(scale_.exp + 1, QRectF(Area()->viewport()->rect()).center());
}

void SurfaceView::ZoomOut() {
    SetZoom(scale_.exp - 1, QRectF(Area()->viewport()->rect()).center());
}

void SurfaceView::ZoomReset() {
    SetZoom(0, QRectF(Area()->viewport()->rect()).center());
    // Back at 1:1 the map may lie wholly outside the viewport: bring it in.
    const QRect content = ed_.ContentBounds();
    if (!content.isEmpty() && !QRect(ScrollInSurface(), ClientInSurface()).intersects(content))
        CentreOn(content.center());
}

void SurfaceView::FitMap() {
    // The map's own contents, or the whole surface while there are none.
    QRect content = ed_.ContentBounds() & QRect(0, 0, ed_.surf.Width(), ed_.surf.Height());
    if (content.isEmpty()) content = QRect(0, 0, ed_.surf.Width(), ed_.surf.Height());
    // The room the viewport has once the scroll bars are gone, less a margin
    // so that the outermost lines do not touch its edge.
    const QSize room = Area()->maximumViewportSize() - QSize(8, 8);
    int exp = ViewScale::MaxExp;
    for (; exp > ViewScale::MinExp; --exp) {
        const ViewScale s{exp};
        if (s.WidgetLength(content.width()) <= room.width() &&
            s.WidgetLength(content.height()) <= room.height())
            break;
    }
    SetZoom(exp, QRectF(Area()->viewport()->rect()).center());
    CentreOn(content.center());
}

void SurfaceView::CentreOn(QPoint surface) {
    const QSize client = ClientInSurface();
    ScrollToSurface(surface - QPoint(client.width() / 2, client.height() / 2));
}

// ---- the view in surface pixels ----

QPoint SurfaceView::ScrollInSurface() const {
    const QScrollArea* area = Area();
    return {scale_.ToSurface(area->horizontalScrollBar()->value()),
            scale_.ToSurface(area->verticalScrollBar()->value())};
}

void SurfaceView::ScrollToSurface(QPoint p) {
    // Zoomed out, a step of a few surface pixels is less than a screen pixel;
    // it still moves the view by one, or scrolling at the edge would stall.
    auto set = [this](QScrollBar* bar, int target) {
        const int now = scale_.ToSurface(bar->value());
        int v = scale_.ToWidget(target);
        if (target != now && v == bar->value()) v += target > now ? 1 : -1;
        bar->setValue(v);  // the bar clamps to its range
    };
    set(Area()->horizontalScrollBar(), p.x());
    set(Area()->verticalScrollBar(), p.y());
}

QSize SurfaceView::ClientInSurface() const {
    const QSize v = Area()->viewport()->size();
    return {scale_.SurfaceLength(v.width()), scale_.SurfaceLength(v.height())};
}

QPoint SurfaceView::PointerSurface() const {
    const QPoint under = ToSurface(mapFromGlobal(QCursor::pos()));
    if (placed_ && ToSurface(scale_.ToWidget(placedSurface_)) == under) return placedSurface_;
    return under;
}

void SurfaceView::PlacePointer(QPoint surface) {
    placedSurface_ = surface;
    placed_ = true;
    QCursor::setPos(mapToGlobal(scale_.Centre(surface)));
}

// ---- painting ----

void SurfaceView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const int w = ed_.surf.Width(), h = ed_.surf.Height();
    const QRect shown(0, 0, scale_.WidgetLength(w), scale_.WidgetLength(h));
    const QRect r = e->rect() & shown;
    if (!r.isEmpty() && scale_.exp == 0) {
        // Wrap only the exposed part of the buffer: no copy, no conversion of
        // the rest of a surface that may be tens of megapixels.
        const uchar* first = ed_.surf.Data() + qsizetype(r.y()) * w + r.x();
        QImage part(first, r.width(), r.height(), w, QImage::Format_Indexed8);
        part.setColorTable(PaletteTable());
        p.drawImage(r.topLeft(), part);
    } else if (!r.isEmpty() && scale_.exp < 0) {
        network_.Sync(ed_.st);
        p.drawImage(r.topLeft(), zoomedOut_.Part(ed_.surf, network_, scale_, r));
    } else if (!r.isEmpty()) {
        network_.Sync(ed_.st);
        view::PaintZoomedIn(p, ed_.surf, network_, scale_, r);
    }
    // Anything outside the surface (a surface smaller than the view) is grey.
    QRegion rest = QRegion(e->rect()) - QRegion(shown);
    for (const QRect& x : rest) p.fillRect(x, palette().window());
    view::PaintControlPoints(p, ed_.st, scale_, e->rect(),
                             [this](int i, QPointF at) { return ed_.ControlPointShownAt(i, at); });
    if (mark_) {
        // A ring in a colour the surface never has, around the point's square.
        p.setPen(QPen(QColor(255, 160, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(MarkRect(*mark_)).adjusted(1, 1, -1, -1));
    }
}

// ---- snapping ----

QRect SurfaceView::MarkRect(QPoint p) const {
    return scale_.Square(p).adjusted(-4, -4, 4, 4);
}

void SurfaceView::ShowMark(std::optional<QPoint> p) {
    if (p == mark_) return;
    if (mark_) update(MarkRect(*mark_));
    mark_ = p;
    if (mark_) update(MarkRect(*mark_));
}

std::optional<QPoint> SurfaceView::SnapFor(QPoint w, Qt::KeyboardModifiers mods) const {
    const Store& st = ed_.st;
    if ((mods & Qt::ShiftModifier) || snapTol_ < 0 ||
        (st.Mode != Mode::Input && st.Mode != Mode::Edit))
        return std::nullopt;
    // The point being dragged does not catch itself (nor its other occurrences).
    std::optional<QPoint> except;
    const int32_t grabbed = ed_.DraggedPoint();
    if (st.Mode == Mode::Edit && grabbed > 0 && grabbed <= st.PointLast) {
        const Rec g = st.Point(grabbed);
        except = QPoint(g.x, g.y);
    }
    return SnapTarget(st, scale_, w, snapTol_, except);
}

QPoint SurfaceView::Snapped(QPoint w, Qt::KeyboardModifiers mods) const {
    return SnapFor(w, mods).value_or(ToSurface(w));
}

void SurfaceView::UpdateMark(QPoint w, Qt::KeyboardModifiers mods) {
    ShowMark(rect().contains(w) ? SnapFor(w, mods) : std::nullopt);
}

void SurfaceView::leaveEvent(QEvent*) {
    ShowMark(std::nullopt);
}

// ---- mouse ----

void SurfaceView::mousePressEvent(QMouseEvent* e) {
    if (panning_) return;
    // With Space held every button grabs the surface: a right press would
    // otherwise reach the editor and open its popup.
    if (e->button() == Qt::MiddleButton || spaceHeld_) {
        panning_ = true;
        spaceUsed_ = spaceHeld_;
        panLast_ = Pixel(e->globalPosition());
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    const QPoint w = Pixel(e->position());
    const QPoint s = e->button() == Qt::LeftButton ? Snapped(w, e->modifiers()) : ToSurface(w);
    placed_ = false;
    ed_.MouseDown(e->button(), s.x(), s.y());
}

void SurfaceView::mouseMoveEvent(QMouseEvent* e) {
    if (panning_) {
        const QPoint g = Pixel(e->globalPosition());
        const QPoint d = g - panLast_;
        panLast_ = g;
        QScrollBar* h = Area()->horizontalScrollBar();
        QScrollBar* v = Area()->verticalScrollBar();
        h->setValue(h->value() - d.x());
        v->setValue(v->value() - d.y());
        return;
    }
    const QPoint w = Pixel(e->position());
    const bool dragging = ed_.st.Mode == Mode::Edit && ed_.DraggedPoint() > 0;
    // While a point is dragged, its rubber band shows where a drop would join it.
    const QPoint s = dragging ? Snapped(w, e->modifiers()) : ToSurface(w);
    ed_.MouseMove(s.x(), s.y());
    UpdateMark(w, e->modifiers());
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* e) {
    if (panning_) {
        if (e->buttons() == Qt::NoButton) {
            panning_ = false;
            if (spaceHeld_)
                setCursor(Qt::OpenHandCursor);
            else
                RestoreCursor();
        }
        return;
    }
    const QPoint w = Pixel(e->position());
    const bool dropping =
        e->button() == Qt::LeftButton && ed_.st.Mode == Mode::Edit && ed_.DraggedPoint() > 0;
    const QPoint s = dropping ? Snapped(w, e->modifiers()) : ToSurface(w);
    ed_.MouseUp(e->button(), s.x(), s.y());
    // A popup attached by the press opens where the right button comes up.
    if (e->button() == Qt::RightButton) win_.OpenAttachedPopup(e->globalPosition().toPoint());
}

void SurfaceView::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        e->ignore();  // the scroll area scrolls
        return;
    }
    wheelRest_ += e->angleDelta().y();
    const int steps = wheelRest_ / Notch;
    wheelRest_ -= steps * Notch;
    if (steps != 0) SetZoom(scale_.exp + steps, mapTo(Area()->viewport(), e->position()));
    e->accept();
}

// ---- keys ----

void SurfaceView::keyPressEvent(QKeyEvent* e) {
    // Space held down is the hand for panning; alone it still opens the
    // popup, when it comes up without having dragged.
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
        if (spaceUp_.isActive()) {
            spaceUp_.stop();  // the release was the key repeating
        } else if (!e->isAutoRepeat() && !spaceHeld_) {
            spaceHeld_ = true;
            // Pressed during a drag, it belongs to that drag.
            spaceUsed_ = panning_;
            if (!panning_) setCursor(Qt::OpenHandCursor);
        }
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Shift) UpdateMark(mapFromGlobal(QCursor::pos()), e->modifiers());
    win_.ForwardKey(e);
}

void SurfaceView::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && spaceHeld_) {
        if (!e->isAutoRepeat()) spaceUp_.start();
        return;
    }
    if (e->key() == Qt::Key_Shift) UpdateMark(mapFromGlobal(QCursor::pos()), e->modifiers());
    QWidget::keyReleaseEvent(e);
}

void SurfaceView::SpaceUp() {
    spaceHeld_ = false;
    if (!panning_) RestoreCursor();
    if (!spaceUsed_) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        win_.ForwardKey(&press);
    }
}

void SurfaceView::focusOutEvent(QFocusEvent* e) {
    if (spaceHeld_ && !panning_) RestoreCursor();
    spaceHeld_ = false;
    spaceUp_.stop();
    QWidget::focusOutEvent(e);
}
