// Reworking the stored under-drawing: one-colour ink and the 2x lattice.
#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/PictureCommands.h"
#include "raster/BitmapFile.h"
#include "raster/Picture.h"

namespace {
const QString MonoCaption = msg::Text(Msg::CapMonotone);
const QString ExpandCaption = msg::Text(Msg::CapEnlarge);
}  // namespace

void PictureCommands::BMPmonotoneClick() {
    if (!st.BasePicLoaded) return;
    const std::optional<QRgb> chosen = ui.ChooseColor(LastMonotoneColour);
    if (!chosen) return;
    LastMonotoneColour = *chosen;
    QString error;
    QImage img = ReadBitmapFile(temps.picture, &error);
    if (img.isNull()) {
        ui.Inform(error, MonoCaption, MsgIcon::Error);
        return;
    }
    ui.SetBusy(true);
    wb.canvas.ShowProgressBar();
    MonotonePicture(img, *chosen, &progress);
    const bool ok = WriteBitmapFile(img, temps.picture, &error);
    progress.SetPosition(0);
    progress.Hide();
    if (!ok) {
        wb.canvas.RestoreCursor();
        ui.Inform(error, MonoCaption, MsgIcon::Error);
        return;
    }
    PictureStored();
    doc.MarkChanged();
    ReDraw(wb);
}

void PictureCommands::BMPexpandClick() {
    if (!st.BasePicLoaded) return;
    QString error;
    const QImage img = ReadBitmapFile(temps.picture, &error);
    if (img.isNull()) {
        ui.Inform(error, ExpandCaption, MsgIcon::Error);
        return;
    }
    if (2 * img.width() > MaxPictureSide || 2 * img.height() > MaxPictureSide) {
        ui.Inform(
            msg::Text(Msg::EnlargeTooLarge).arg(img.width()).arg(img.height()).arg(MaxPictureSide),
            ExpandCaption, MsgIcon::Warning);
        return;
    }
    if (!RoomForPicture(wb, QSize(2 * img.width(), 2 * img.height()), ExpandCaption)) return;
    ui.SetBusy(true);
    wb.canvas.ShowProgressBar();
    Surface doubled;
    bool ok = ExpandPicture(img, doubled, &progress);
    if (!ok)
        error = msg::Text(Msg::EnlargeMemory).arg(2 * img.width()).arg(2 * img.height());
    else
        ok = WriteSurfaceBitmap(doubled, temps.picture, &error);
    progress.SetPosition(0);
    progress.Hide();
    if (!ok) {
        wb.canvas.RestoreCursor();
        ui.Inform(error, ExpandCaption, MsgIcon::Error);
        return;
    }
    PictureStored();
    doc.MarkChanged();
    ReDraw(wb);
}
