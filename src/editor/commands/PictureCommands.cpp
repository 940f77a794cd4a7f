// The under-drawing commands: load from a bitmap file, paste from the
// clipboard, hide or show, clear. The picture itself lives in temps.picture,
// stored as its negative so dark ink shows light on the black surface.
#include "editor/commands/PictureCommands.h"

#include <QFileInfo>
#include <QImageReader>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/WorkFileCommands.h"
#include "raster/BitmapFile.h"
#include "raster/Picture.h"
#include "raster/PictureFile.h"
#include "raster/SurfaceBudget.h"

namespace {

QString TooLarge(const QImage& img) {
    return msg::Text(Msg::PictureTooLargeToUse)
        .arg(img.width())
        .arg(img.height())
        .arg(MaxPictureSide);
}

bool Fits(const QImage& img) {
    return img.width() <= MaxPictureSide && img.height() <= MaxPictureSide;
}

}  // namespace

// The surface grows to the picture's size when it is shown; far beyond the
// usual size that is asked about first.
bool RoomForPicture(Workbench& wb, QSize size, const QString& caption) {
    const int w = std::min(size.width(), MaxPictureSide),
              h = std::min(size.height(), MaxPictureSide);
    if (w <= wb.surf.Width() && h <= wb.surf.Height()) return true;
    return MayGrowSurface(wb.ui, std::max(w, wb.surf.Width()), std::max(h, wb.surf.Height()),
                          caption);
}

void PictureCommands::PictureStored() {
    // The redraw keeps the decoded picture while its file looks unchanged; a
    // rewrite within the same millisecond and of the same size would not.
    wb.canvas.picPath_.clear();
    doc.PictureTaken();
    ui.SetScrollPos(QPoint(0, 0));
    wb.states.EnablePictureCommands();
}

void PictureCommands::RunInversion(QImage& img) {
    ui.SetBusy(true);
    wb.canvas.ShowProgressBar();
    InvertPicture(img, &progress);
    progress.SetPosition(0);
    progress.Hide();
    wb.canvas.RestoreCursor();
}

void PictureCommands::LoadBMPClick() {
    // Scanners and phones give JPEG, PNG or TIFF as often as bitmaps; every
    // format Qt reads is offered, and the content decides how it is read.
    const QString patterns = PicturePatterns().join(QLatin1Char(';'));
    const QString file = ui.ChooseOpenFile(msg::Text(Msg::FilterPictures).arg(patterns), QString(),
                                           QStringLiteral("bmp"));
    if (file.isEmpty()) return;
    LoadPictureFile(file);
}

bool PictureCommands::LoadPictureFile(const QString& file) {
    // A picture beyond the sides is refused by the reader below: no question
    // first. A PDF says its page size, from which its pixels follow. A file
    // of a few hundred bytes can decode to gigabytes: what decoding takes is
    // asked about as a surface that large would be.
    int depth = 0;
    const QSize declared = DeclaredPictureSize(file, &depth);
    if (declared.isValid() && declared.width() <= MaxPictureSide &&
        declared.height() <= MaxPictureSide &&
        !(depth > 0
              ? MayTakeImage(ui, declared.width(), declared.height(), depth, Msg::SurfaceBudgetAsk,
                             Msg::SurfaceOverBudget, msg::Text(Msg::CapLoadPicture))
              : RoomForPicture(wb, declared, msg::Text(Msg::CapLoadPicture))))
        return false;
    // The file is read before the traced data may be let go, so an unreadable
    // picture never costs the work.
    ui.SetBusy(true);
    QString error;
    QImage img = ReadPictureFile(file, &error);
    if (!img.isNull() && !Fits(img)) error = TooLarge(img);
    ui.SetBusy(false);
    if (img.isNull() || !Fits(img)) {
        ui.Inform(error, msg::Text(Msg::CapLoadPicture), MsgIcon::Error);
        return false;
    }
    UsePicture(std::move(img));
    pictureFile_ = file;
    return st.BasePicLoaded;
}

void PictureCommands::UsePicture(QImage img) {
    QString error;
    if (!Fits(img)) {
        ui.Inform(TooLarge(img), msg::Text(Msg::CapLoadPicture), MsgIcon::Error);
        return;
    }
    if (st.PointLast >= 1 &&
        ui.AskYesNo(msg::Text(Msg::ClearLinesAsk), msg::Text(Msg::CapConfirm))) {
        workFiles_.ResetWork();
        wb.states.InitCommandStates();
    }
    ui.RepaintNow();
    RunInversion(img);

    // Through a 16-colour surface of the picture's size: the stored picture
    // holds exactly the colours the drawing surface can show.
    ui.SetBusy(true);
    Surface reduced;
    bool ok = reduced.Resize(img.width(), img.height());
    if (!ok) error = msg::Text(Msg::PictureMemory).arg(img.width()).arg(img.height());
    if (ok) {
        reduced.DrawImage(img, 0, 0);
        img = QImage();
        ok = WriteSurfaceBitmap(reduced, temps.picture, &error);
    }
    if (!ok) {
        wb.canvas.RestoreCursor();
        ui.Inform(error, msg::Text(Msg::CapLoadPicture), MsgIcon::Error);
        return;
    }
    PictureStored();
    doc.MarkChanged();
    ReDraw(wb);
}

void PictureCommands::BMPpasteClick() {
    QImage img = ui.ClipboardImage();
    if (img.isNull()) {
        ui.Inform(msg::Text(Msg::ClipboardNoPicture), msg::Text(Msg::CapPastePicture),
                  MsgIcon::Information);
        return;
    }
    if (!Fits(img)) {
        ui.Inform(TooLarge(img), msg::Text(Msg::CapPastePicture), MsgIcon::Error);
        return;
    }
    if (!RoomForPicture(wb, img.size(), msg::Text(Msg::CapPastePicture))) return;
    RunInversion(img);
    QString error;
    ui.SetBusy(true);
    if (!WriteBitmapFile(img, temps.picture, &error)) {
        wb.canvas.RestoreCursor();
        ui.Inform(error, msg::Text(Msg::CapPastePicture), MsgIcon::Error);
        return;
    }
    PictureStored();
    doc.MarkChanged();
    ReDraw(wb);
}

void PictureCommands::BMPshowhideClick() {
    doc.ShowPicture(!st.BasePicShown);
    ReDraw(wb);
}

void PictureCommands::BMPclearClick() {
    if (!ui.AskOkCancel(msg::Text(Msg::ClearPictureAsk), msg::Text(Msg::CapConfirm))) return;
    doc.PictureCleared();
    workFiles_.keptPicture_.clear();  // cleared on purpose: no link to keep either
    doc.MarkChanged();
    wb.states.DisablePictureCommands();
    ReDraw(wb);
}
