// The editor's redraws: what to paint (render/Render.h paints it), the
// under-drawing's decoded copy, the busy cursor, the progress bar and telling
// the view what changed.
#include "editor/Canvas.h"

#include <QFileInfo>
#include <algorithm>

#include "base/Messages.h"
#include "base/Progress.h"
#include "doc/Document.h"
#include "editor/CompositionView.h"
#include "editor/Cursors.h"
#include "editor/Ui.h"
#include "editor/Workbench.h"
#include "ops/Extent.h"
#include "raster/BitmapFile.h"
#include "render/Render.h"
#include "shell/Settings.h"
#include "store/Store.h"
#include "usecases/WorkFiles.h"

bool Canvas::LoadPictureCached(QString* error) {
    const QFileInfo info(temps.picture);
    if (!info.exists() || !info.isFile()) {
        *error = msg::Text(Msg::PictureTempMissing).arg(temps.picture);
        return false;
    }
    const qint64 size = info.size();
    const qint64 mtime = info.lastModified().toMSecsSinceEpoch();
    const qint64 ctime = info.metadataChangeTime().toMSecsSinceEpoch();
    if (picPath_ == temps.picture && picSize_ == size && picMtime_ == mtime && picCtime_ == ctime &&
        picPixels_.Width() > 0)
        return true;
    picPath_.clear();
    Surface pixels;
    if (!usecase::ReadPicturePixels(temps.picture, pixels, error)) return false;
    picPixels_ = std::move(pixels);
    picPath_ = temps.picture;
    picSize_ = size;
    picMtime_ = mtime;
    picCtime_ = ctime;
    return true;
}

bool Canvas::Repaint() {
    const bool shown = st.BasePicLoaded && st.BasePicShown;
    QString error;
    const bool loaded = shown && LoadPictureCached(&error);
    render::Work(st, surf, loaded ? &picPixels_ : nullptr, surfaceUnseen);
    if (loaded) doc.SetExtent(int16_t(picPixels_.Width()), int16_t(picPixels_.Height()));
    const bool ok = !shown || loaded;
    if (!ok) ui.Inform(error, msg::Text(Msg::CapError), MsgIcon::Error);
    RestoreCursor();
    lastRedrawOk_ = ok;
    return ok;
}

void Canvas::DisplayMap(int lineColour, int pointColour) {
    surf.SetRop(Rop::Copy);
    render::ClearExtent(st, surf);
    render::DrawPointList(st, surf, lineColour, pointColour);
    ui.SurfaceChanged();
}

void Canvas::ShowKinds() {
    ui.SetBusy(true);
    surf.SetRop(Rop::Copy);
    render::ClearExtent(st, surf);
    render::DrawPointList(st, surf);
    render::DrawKindList(st, surf);
    RestoreCursor();
}

void Canvas::RestoreCursor() {
    ui.SetBusy(false);
    // The area-position command sets its own cursor and keeps it.
    if (st.Mode != Mode::AreaPosition) ui.SetSurfaceCursor(CursorOf(st.Mode));
    ui.SurfaceChanged();
}

void Canvas::ShowProgressBar() {
    progress.SetPosition(0);
    progress.Show();
}

void Canvas::MarkVertices(uint8_t c) {
    ShowProgressBar();
    render::MarkVertices(st, surf, c, [this] { progress.StepIt(); });
    progress.SetPosition(0);
    progress.Hide();
    ui.SurfaceChanged();
}

void Canvas::MarkKindVertices() {
    ShowProgressBar();
    render::MarkKindVertices(st, surf, [this] { progress.StepIt(); });
    progress.SetPosition(0);
    progress.Hide();
}

void Canvas::ComposeMessage(const QString& text) {
    // The red marks go on screen before the box opens over them.
    ui.SurfaceChanged();
    ui.RepaintNow();
    ui.ComposeMessage(text);
}

void Canvas::CenterViewOn(int x, int y) {
    const QSize client = ui.ViewClientSize();
    ui.SetScrollPos(QPoint(x - client.width() / 2, y - client.height() / 2));
}

QString Canvas::MouseReadout(int x, int y) {
    return QStringLiteral("%1:%2").arg(x, 4).arg(y);
}

void PaintCompositionView(Workbench& wb) {
    PaintCompositionView(wb, wb.surf);
    wb.ui.SurfaceChanged();
}

void PaintCompositionView(Workbench& wb, Surface& s) {
    wb.canvas.ShowProgressBar();
    render::CompositionView(wb.st, s, false, [&wb] { wb.progress.StepIt(); });
    wb.progress.SetPosition(0);
    wb.progress.Hide();
}

QRect Canvas::ContentBounds() const {
    QRect r = MapContentBounds(st);
    if (st.BasePicLoaded && st.BasePicShown && picPixels_.Width() > 0)
        r |= QRect(0, 0, picPixels_.Width(), picPixels_.Height());
    return r;
}
