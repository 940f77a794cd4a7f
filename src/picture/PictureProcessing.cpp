// Reworking the stored under-drawing: one-colour ink and the 2x lattice.
#include "core/Editor.h"
#include "picture/Picture.h"
#include "raster/BitmapFile.h"

namespace {
const QString MonoCaption = QStringLiteral("下絵の単色化");
const QString ExpandCaption = QStringLiteral("下絵の拡大");
}  // namespace

void Editor::BMPmonotoneClick() {
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
    ShowProgressBar();
    MonotonePicture(img, *chosen, &progress);
    const bool ok = WriteBitmapFile(img, temps.picture, &error);
    progress.SetPosition(0);
    progress.Hide();
    if (!ok) {
        RestoreCursor();
        ui.Inform(error, MonoCaption, MsgIcon::Error);
        return;
    }
    PictureStored();
    st.MarkChanged();
    ReDraw();
}

void Editor::BMPexpandClick() {
    if (!st.BasePicLoaded) return;
    QString error;
    const QImage img = ReadBitmapFile(temps.picture, &error);
    if (img.isNull()) {
        ui.Inform(error, ExpandCaption, MsgIcon::Error);
        return;
    }
    if (2 * img.width() > MaxPictureSide || 2 * img.height() > MaxPictureSide) {
        ui.Inform(
            QStringLiteral("下絵 (%1 x %2 ピクセル) を拡大すると縦横の上限 %3 ピクセルを超えます。")
                .arg(img.width())
                .arg(img.height())
                .arg(MaxPictureSide),
            ExpandCaption, MsgIcon::Warning);
        return;
    }
    if (!RoomForPicture(*this, QSize(2 * img.width(), 2 * img.height()), ExpandCaption)) return;
    ui.SetBusy(true);
    ShowProgressBar();
    Surface doubled;
    bool ok = ExpandPicture(img, doubled, &progress);
    if (!ok)
        error = QStringLiteral("下絵 (%1 x %2) を拡大するメモリが足りません。")
                    .arg(2 * img.width())
                    .arg(2 * img.height());
    else
        ok = WriteSurfaceBitmap(doubled, temps.picture, &error);
    progress.SetPosition(0);
    progress.Hide();
    if (!ok) {
        RestoreCursor();
        ui.Inform(error, ExpandCaption, MsgIcon::Error);
        return;
    }
    PictureStored();
    st.MarkChanged();
    ReDraw();
}
