// The editor's redraws: what to paint (render/Render.h paints it), the
// under-drawing's decoded copy, the busy cursor, the progress bar and telling
// the view what changed.
#include "render/Render.h"

#include <QFileInfo>
#include <algorithm>

#include "core/Editor.h"
#include "core/Messages.h"
#include "raster/BitmapFile.h"
#include "view/CompositionView.h"

bool Editor::LoadPictureCached(QString* error) {
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
    const QImage img = ReadBitmapFile(temps.picture, error);
    if (img.isNull()) return false;
    // Larger than a coordinate can address: the map could never be edited.
    if (img.width() > 32767 || img.height() > 32767) {
        *error = msg::Text(Msg::PictureTooLargeShort).arg(img.width()).arg(img.height());
        return false;
    }
    Surface pixels;
    if (!pixels.Resize(img.width(), img.height())) {
        *error = msg::Text(Msg::PictureDisplayMemory).arg(img.width()).arg(img.height());
        return false;
    }
    pixels.DrawImage(img, 0, 0);
    picPixels_ = std::move(pixels);
    picPath_ = temps.picture;
    picSize_ = size;
    picMtime_ = mtime;
    picCtime_ = ctime;
    return true;
}

bool Editor::ReDraw() {
    ui.SetBusy(true);
    if (st.Mode == Mode::LineKind) {
        // Leaving line-kind mode redraws (with the new mode) on the way out.
        BuildModeClick();
        return lastRedrawOk_;
    }
    surf.SetRop(Rop::Copy);
    bool ok = true;
    if (st.BasePicLoaded && st.BasePicShown) {
        QString error;
        const bool loaded = LoadPictureCached(&error);
        if (loaded && (picPixels_.Width() > surf.Width() || picPixels_.Height() > surf.Height()))
            surf.Resize(std::max(surf.Width(), picPixels_.Width()),
                        std::max(surf.Height(), picPixels_.Height()));
        surf.SetBrush(Grey);
        surf.SetPen(Grey);
        surf.Rectangle(0, 0, surf.Width(), surf.Height());
        if (loaded) {
            render::DrawPicture(picPixels_, surf);
            doc.SetExtent(int16_t(picPixels_.Width()), int16_t(picPixels_.Height()));
        } else {
            ui.Inform(error, msg::Text(Msg::CapError), MsgIcon::Error);
            ok = false;
        }
    } else {
        // A map larger than the surface (a loaded file) makes the surface grow.
        if (st.MapWidth > surf.Width() || st.MapHeight > surf.Height())
            surf.Resize(std::max<int>(surf.Width(), st.MapWidth),
                        std::max<int>(surf.Height(), st.MapHeight));
        const bool legendInside =
            st.LegendX < 0 || (st.LegendX + render::LegendSize <= st.MapWidth &&
                               st.LegendY + render::LegendSize <= st.MapHeight);
        if (surfaceUnseen && legendInside) {
            // Nothing here outlives the next command that reads pixels: every
            // one of them paints the map extent first, and this would not
            // touch anything beyond it.
            RestoreCursor();
            lastRedrawOk_ = ok;
            return ok;
        }
        // The whole extent, last row and column included: a stale point pixel
        // left there would be found by the colour hit tests.
        render::ClearExtent(st, surf);
    }
    // The legend and the network are drawn even when the picture could not be
    // read, so the work stays visible and the hit tests still find it.
    render::DrawMap(st, surf);
    RestoreCursor();
    lastRedrawOk_ = ok;
    return ok;
}

void Editor::DisplayMap(int lineColour, int pointColour) {
    surf.SetRop(Rop::Copy);
    render::ClearExtent(st, surf);
    render::DrawPointList(st, surf, lineColour, pointColour);
    ui.SurfaceChanged();
}

void Editor::ShowKinds() {
    ui.SetBusy(true);
    surf.SetRop(Rop::Copy);
    render::ClearExtent(st, surf);
    render::DrawPointList(st, surf);
    render::DrawKindList(st, surf);
    RestoreCursor();
}

void Editor::RestoreCursor() {
    ui.SetBusy(false);
    // The area-position command sets its own cursor and keeps it.
    if (st.Mode != Mode::AreaPosition) ui.SetSurfaceCursor(ModeCursor());
    ui.SurfaceChanged();
}

void Editor::ShowProgressBar() {
    progress.SetPosition(0);
    progress.Show();
}

void Editor::MarkVertices(uint8_t c) {
    ShowProgressBar();
    render::MarkVertices(st, surf, c, [this] { progress.StepIt(); });
    progress.SetPosition(0);
    progress.Hide();
    ui.SurfaceChanged();
}

void Editor::MarkKindVertices() {
    ShowProgressBar();
    render::MarkKindVertices(st, surf, [this] { progress.StepIt(); });
    progress.SetPosition(0);
    progress.Hide();
}

void Editor::ComposeMessage(const QString& text) {
    // The red marks go on screen before the box opens over them.
    ui.SurfaceChanged();
    ui.RepaintNow();
    ui.ComposeMessage(text);
}

void Editor::CenterViewOn(int x, int y) {
    const QSize client = ui.ViewClientSize();
    ui.SetScrollPos(QPoint(x - client.width() / 2, y - client.height() / 2));
}

QString Editor::MouseReadout(int x, int y) {
    return QStringLiteral("%1:%2").arg(x, 4).arg(y);
}

void PaintCompositionView(Editor& ed) {
    PaintCompositionView(ed, ed.surf);
    ed.ui.SurfaceChanged();
}

void PaintCompositionView(Editor& ed, Surface& s) {
    ed.ShowProgressBar();
    render::CompositionView(ed.st, s, false, [&ed] { ed.progress.StepIt(); });
    ed.progress.SetPosition(0);
    ed.progress.Hide();
}
