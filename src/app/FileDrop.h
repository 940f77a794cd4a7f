// Files dropped onto the main window: a picture becomes the under-drawing and
// a work file or finished map is opened, each through the command that would
// open it from the menu (same questions, same messages), with the dropped
// file standing in for the file dialog's answer.
#pragma once

#include <QObject>
#include <QString>

#include "base/Commands.h"

class Editor;
class MainWindow;
class QAction;
class QMimeData;
class QtUi;

class FileDrop : public QObject {
  public:
    FileDrop(MainWindow& win, Editor& ed, QtUi& ui);
    // The command that opens path, or Cmd::Count_ for a file nothing opens.
    static Cmd CommandFor(const QString& path);
    // Boundary data (GeoJSON, Shapefile, GeoPackage, ...), which a drop imports.
    static bool IsBoundaryFile(const QString& path);
    // The one local file a drag carries, or empty.
    static QString DroppedFile(const QMimeData* data);
    // Runs c with path as the file the command asks for.
    void Open(const QString& path, Cmd c);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QAction* ImportAction() const;  // the menu's import, when it may run
    bool Enabled(Cmd c) const;
    MainWindow& win_;
    Editor& ed_;
    QtUi& ui_;
};
