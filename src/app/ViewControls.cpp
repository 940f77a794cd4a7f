#include "app/ViewControls.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "app/SurfaceView.h"

namespace {
QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}
}  // namespace

void AddViewControls(MainWindow& win) {
    SurfaceView* view = win.View();
    QMenu* menu = win.menuBar()->addMenu(S("表示(&V)"));
    menu->setObjectName(QStringLiteral("MenuView"));
    auto item = [&](const char* name, const char* caption, const char* tip,
                    QList<QKeySequence> keys, void (SurfaceView::*slot)()) {
        QAction* a = menu->addAction(S(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(S(tip));
        a->setShortcuts(keys);
        // Keys work wherever the focus is in the main window.
        a->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(a, &QAction::triggered, view, slot);
    };
    item("ZoomIn", "拡大表示(&I)", "表示を2倍にします（下絵や境界線は変わりません）",
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         &SurfaceView::ZoomIn);
    item("ZoomOut", "縮小表示(&O)", "表示を1/2にします（下絵や境界線は変わりません）",
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &SurfaceView::ZoomOut);
    item("ZoomReset", "等倍表示(&A)", "表示を1:1に戻します", {QKeySequence(Qt::CTRL | Qt::Key_0)},
         &SurfaceView::ZoomReset);
    item("ZoomFit", "全体表示(&F)", "作図面の全体が収まる倍率で表示します", {},
         &SurfaceView::FitMap);

    // The magnification, just above the pointer's coordinates.
    auto* zoom = new QLabel(view->Scale().Text(), win.ToolPanel());
    zoom->setObjectName(QStringLiteral("zoomXY"));
    zoom->setGeometry(356, 1, 65, 14);
    zoom->setToolTip(S("表示倍率（Ctrl+ホイール、Ctrl++、Ctrl+-、Ctrl+0）"));
    QObject::connect(view, &SurfaceView::ZoomChanged, zoom,
                     [zoom, view] { zoom->setText(view->Scale().Text()); });

    win.statusBar()->setSizeGripEnabled(true);
}
