#include "editor/commands/MapCommands.h"

#include <QRect>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "ops/MoveScale.h"
#include "raster/BitmapFile.h"
#include "raster/Picture.h"
#include "raster/Surface.h"

namespace {

const QString kCaption = msg::Text(Msg::CapMoveScale);
const QString kUnchanged = msg::Text(Msg::MapUnchanged);

}  // namespace

void MapCommands::MoveMapClick() {
    MoveFields fields;  // "0", "0", "1.0"
    if (!ui.MoveMapDialog(fields)) return;
    MoveScale m;
    if (auto e = ParseMoveFields(fields, m)) {
        ui.Inform(*e + "\n" + kUnchanged, kCaption, MsgIcon::Warning);
        return;
    }
    if (m.Trivial() || m.f == 0.0L) return;
    if (QString e = CheckMoveScale(st, m); !e.isEmpty()) {
        ui.Inform(e + "\n" + kUnchanged, kCaption, MsgIcon::Warning);
        return;
    }
    // The picture is worked out and written first: if that fails, the map
    // still matches the picture it had.
    if (st.BasePicLoaded) {
        QString error;
        const QImage pic = ReadBitmapFile(temps.picture, &error);
        QImage moved;
        if (!pic.isNull()) moved = MoveScalePicture(pic, m, &error);
        // A picture scaled up makes the surface grow with it.
        if (!moved.isNull() && !RoomForPicture(wb, moved.size(), kCaption)) return;
        if (moved.isNull() || !WriteBitmapFile(moved, temps.picture, &error)) {
            ui.Inform(error + "\n" + kUnchanged, kCaption, MsgIcon::Warning);
            return;
        }
        // The redraw must not keep showing the decoded picture from before.
        wb.canvas.picPath_.clear();
    }
    Store scaled = st;
    ApplyMoveScale(scaled, m);
    doc.ReplaceMap(std::move(scaled));
    doc.MarkChanged();
    if (m.f < 1.0L) ui.SetScrollPos(QPoint(0, 0));
    ReDraw(wb);
}
