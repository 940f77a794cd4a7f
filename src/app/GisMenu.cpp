#include "app/GisMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "base/Messages.h"
#include "editor/Editor.h"
#include "editor/commands/GisCommands.h"
#include "gis/MapDrawing.h"
#include "gis/MapExport.h"
#include "text/ShiftJis.h"

namespace gis_menu {

void AddItems(QMenu* file, Editor& ed, QWidget* parent) {
    file->addSeparator();
    QAction* import = file->addAction(msg::Text(Msg::MenuImportBoundaries));
    import->setObjectName(QStringLiteral("ImportBoundaries"));
    QObject::connect(import, &QAction::triggered, parent,
                     [&ed] { ed.Run([&ed] { gis::ImportBoundariesCommand(ed); }); });
    QAction* exportMap = file->addAction(msg::Text(Msg::MenuExport));
    exportMap->setObjectName(QStringLiteral("ExportMap"));
    QObject::connect(exportMap, &QAction::triggered, parent,
                     [&ed] { ed.Run([&ed] { gis::ExportMapCommand(ed); }); });
    QAction* print = file->addAction(msg::Text(Msg::MenuPrint));
    print->setShortcut(QKeySequence::Print);
    print->setObjectName(QStringLiteral("PrintMap"));
    QObject::connect(print, &QAction::triggered, parent,
                     [&ed, parent] { ed.Run([&ed, parent] { PrintMap(ed, parent); }); });
}

void PrintMap(Editor& ed, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintName(ed.st));
    printer.setPageOrientation(ed.st.MapWidth > ed.st.MapHeight ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!gis::EnsureComposed(ed)) return;
    const std::vector<gis::AreaOutlines> outlines = gis::ComposedOutlines(ed.st);
    QPainter p;
    if (!p.begin(&printer)) {
        ed.ui.Inform(msg::Text(Msg::PrintNotStarted), msg::Text(Msg::CapPrint), MsgIcon::Error);
        return;
    }
    gis::DrawMap(p, ed.st, outlines,
                 QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
    p.end();
    ed.ui.ShowStatus(msg::Format(
        Msg::StatusPrinted,
        {printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()}));
}

QString PrintName(const Store& st) {
    for (const QString& file : {st.WorkFileName, st.IdtFileName})
        if (!file.isEmpty()) return QFileInfo(file).completeBaseName();
    const QString title = sjis::ToUnicode(st.MapTitle).trimmed();
    return title.isEmpty() ? QStringLiteral("Velmot") : title;
}

}  // namespace gis_menu
