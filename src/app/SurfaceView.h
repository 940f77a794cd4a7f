// The drawing surface on screen: shows the editor's 16-colour surface and
// hands every mouse event to the editor in surface pixels.
#pragma once

#include <QWidget>

#include "core/Commands.h"

class Editor;
class MainWindow;

class SurfaceView : public QWidget {
    Q_OBJECT
  public:
    SurfaceView(Editor& ed, MainWindow& win);
    // Takes the surface's current size and repaints.
    void SurfaceChanged();
    void SetModeCursor(SurfaceCursor c);
    SurfaceCursor ModeCursor() const { return cursor_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    Editor& ed_;
    MainWindow& win_;
    SurfaceCursor cursor_ = SurfaceCursor::CrossLine;
};
