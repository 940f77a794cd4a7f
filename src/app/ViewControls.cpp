#include "app/ViewControls.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "app/SurfaceView.h"
#include "base/Messages.h"

void AddViewControls(MainWindow& win) {
    SurfaceView* view = win.View();
    // Before ヘルプ, which stays the last menu.
    QMenu* menu = new QMenu(msg::Text(Msg::MenuView), &win);
    const QMenu* help = win.menuBar()->findChild<QMenu*>(QStringLiteral("MenuHelp"));
    win.menuBar()->insertMenu(help ? help->menuAction() : nullptr, menu);
    menu->setObjectName(QStringLiteral("MenuView"));
    auto item = [&](const char* name, Msg caption, Msg tip, QList<QKeySequence> keys,
                    void (SurfaceView::*slot)()) {
        QAction* a = menu->addAction(msg::Text(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(msg::Text(tip));
        a->setShortcuts(keys);
        // Keys work wherever the focus is in the main window.
        a->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(a, &QAction::triggered, view, slot);
    };
    item("ZoomIn", Msg::MenuZoomIn, Msg::TipZoomIn,
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         &SurfaceView::ZoomIn);
    item("ZoomOut", Msg::MenuZoomOut, Msg::TipZoomOut, {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
         &SurfaceView::ZoomOut);
    item("ZoomReset", Msg::MenuZoomReset, Msg::TipZoomReset, {QKeySequence(Qt::CTRL | Qt::Key_0)},
         &SurfaceView::ZoomReset);
    item("ZoomFit", Msg::MenuZoomFit, Msg::TipZoomFit, {}, &SurfaceView::FitMap);

    // The magnification, just above the pointer's coordinates.
    auto* zoom = new QLabel(view->Scale().Text(), win.ToolPanel());
    zoom->setObjectName(QStringLiteral("zoomXY"));
    zoom->setGeometry(356, 1, 65, 14);
    zoom->setToolTip(msg::Text(Msg::TipZoom));
    QObject::connect(view, &SurfaceView::ZoomChanged, zoom,
                     [zoom, view] { zoom->setText(view->Scale().Text()); });

    win.statusBar()->setSizeGripEnabled(true);
}
