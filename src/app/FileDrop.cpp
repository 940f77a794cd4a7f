#include "app/FileDrop.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/QtUi.h"
#include "editor/Editor.h"
#include "raster/PictureFile.h"

FileDrop::FileDrop(MainWindow& win, Editor& ed, QtUi& ui)
    : QObject(&win), win_(win), ed_(ed), ui_(ui) {
    win.setAcceptDrops(true);
    win.installEventFilter(this);
}

Cmd FileDrop::CommandFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vlm") || suffix == QLatin1String("idt")) return Cmd::SpFileOpen;
    // Pictures are known by their content, whatever their name says.
    return IsPictureFile(path) ? Cmd::LoadBMP : Cmd::Count_;
}

bool FileDrop::IsBoundaryFile(const QString& path) {
    static const QStringList kinds = {QStringLiteral("geojson"), QStringLiteral("json"),
                                      QStringLiteral("shp"),     QStringLiteral("gpkg"),
                                      QStringLiteral("kml"),     QStringLiteral("gml"),
                                      QStringLiteral("fgb")};
    return kinds.contains(QFileInfo(path).suffix().toLower());
}

QAction* FileDrop::ImportAction() const {
    QAction* a = win_.findChild<QAction*>(QStringLiteral("ImportBoundaries"));
    return a && a->isEnabled() ? a : nullptr;
}

QString FileDrop::DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool FileDrop::Enabled(Cmd c) const {
    if (QAction* a = win_.Action(c)) return a->isEnabled();
    if (QToolButton* b = win_.Button(c)) return b->isEnabled();
    return false;
}

void FileDrop::Open(const QString& path, Cmd c) {
    if (c == Cmd::Count_ || !Enabled(c)) return;
    ui_.PresetOpenFile(path);
    ed_.Command(c);
    ui_.PresetOpenFile(QString());  // the command may have stopped before asking
}

bool FileDrop::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
        auto* d = static_cast<QDropEvent*>(e);
        const QString path = DroppedFile(d->mimeData());
        const Cmd c = path.isEmpty() ? Cmd::Count_ : CommandFor(path);
        if ((c != Cmd::Count_ && Enabled(c)) || (!path.isEmpty() && IsBoundaryFile(path) && ImportAction())) {
            // A copy, never a move: the file stays where it came from.
            d->setDropAction(Qt::CopyAction);
            d->accept();
        } else {
            d->ignore();
        }
        return true;
    }
    if (e->type() == QEvent::Drop) {
        auto* d = static_cast<QDropEvent*>(e);
        const QString path = DroppedFile(d->mimeData());
        if (!path.isEmpty() && IsBoundaryFile(path)) {
            d->setDropAction(Qt::CopyAction);
            d->accept();
            // Boundary data goes through the import, as from the menu.
            QTimer::singleShot(0, this, [this, path] {
                QAction* import = ImportAction();
                if (!import) return;
                ui_.PresetOpenFile(path);
                import->trigger();
                ui_.PresetOpenFile(QString());
            });
            return true;
        }
        const Cmd c = path.isEmpty() ? Cmd::Count_ : CommandFor(path);
        if (c == Cmd::Count_) return true;
        d->setDropAction(Qt::CopyAction);
        d->accept();
        // After the drop has finished: the command may ask questions, and the
        // program the file came from should not wait for the answers.
        QTimer::singleShot(0, this, [this, path, c] { Open(path, c); });
        return true;
    }
    return QObject::eventFilter(watched, e);
}
