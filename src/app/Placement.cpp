#include "app/Placement.h"

#include <QScreen>
#include <QWidget>

QPoint PlacedTopLeft(QPoint mainTopLeft, QSize dialog, QSize screen, int dx, int dy) {
    int left = mainTopLeft.x() + dx;
    int top = mainTopLeft.y() + dy;
    if (left + dialog.width() > screen.width()) left = screen.width() - dialog.width();
    if (top + dialog.height() > screen.height()) top = screen.height() - dialog.height();
    return {left, top};
}

void PlaceDialogBeside(QWidget* dialog, const QWidget* main, int dx, int dy) {
    dialog->ensurePolished();
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    QScreen* screen = main->screen();
    const QRect avail = screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
    // Offsets are from the main window's outer corner; the dialog's frame is
    // added to its size as far as the platform knows it already.
    QSize size = dialog->frameGeometry().size().expandedTo(dialog->size());
    QPoint p = PlacedTopLeft(main->frameGeometry().topLeft() - avail.topLeft(), size, avail.size(),
                             dx, dy);
    dialog->move(p + avail.topLeft());
}
