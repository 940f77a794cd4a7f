#include "app/Placement.h"

#include <QScreen>
#include <QWidget>

void PlaceDialogBeside(QWidget* dialog, const QWidget* main, DialogId which) {
    dialog->ensurePolished();
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    const QScreen* screen = main->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
    const QSize size = dialog->frameGeometry().size().expandedTo(dialog->size());
    const QPoint offset = DialogOffset(which);
    // Screen coordinates relative to the screen the main window is on.
    const QPoint corner = main->frameGeometry().topLeft() - area.topLeft();
    const QPoint p = PlaceDialog(corner.x(), corner.y(), offset.x(), offset.y(), size, area.size());
    dialog->move(p + area.topLeft());
}
