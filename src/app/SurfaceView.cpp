#include "app/SurfaceView.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/Artwork.h"
#include "app/MainWindow.h"
#include "core/Editor.h"

SurfaceView::SurfaceView(Editor& ed, MainWindow& win) : ed_(ed), win_(win) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(SurfaceCursorShape(cursor_));
    SurfaceChanged();
}

void SurfaceView::SurfaceChanged() {
    const QSize size(ed_.surf.Width(), ed_.surf.Height());
    if (size != this->size()) setFixedSize(size);
    update();
}

void SurfaceView::SetModeCursor(SurfaceCursor c) {
    cursor_ = c;
    setCursor(SurfaceCursorShape(c));
}

void SurfaceView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const int w = ed_.surf.Width(), h = ed_.surf.Height();
    const QRect r = e->rect() & QRect(0, 0, w, h);
    if (!r.isEmpty()) {
        // Wrap only the exposed part of the buffer: no copy, no conversion of
        // the rest of a surface that may be tens of megapixels.
        const uchar* first = ed_.surf.Data() + qsizetype(r.y()) * w + r.x();
        QImage part(first, r.width(), r.height(), w, QImage::Format_Indexed8);
        part.setColorTable(PaletteTable());
        p.drawImage(r.topLeft(), part);
    }
    // Anything outside the surface (a surface smaller than the view) is grey.
    QRegion rest = QRegion(e->rect()) - QRegion(QRect(0, 0, w, h));
    for (const QRect& x : rest) p.fillRect(x, palette().window());
}

void SurfaceView::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    ed_.MouseDown(e->button(), pt.x(), pt.y());
}

void SurfaceView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    ed_.MouseMove(pt.x(), pt.y());
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    ed_.MouseUp(e->button(), pt.x(), pt.y());
    // A popup attached by the press opens where the right button comes up.
    if (e->button() == Qt::RightButton) win_.OpenAttachedPopup(e->globalPosition().toPoint());
}

void SurfaceView::keyPressEvent(QKeyEvent* e) {
    win_.ForwardKey(e);
}
