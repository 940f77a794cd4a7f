// 自動トレース's dialog: the under-drawing's regions as the trace would make
// them, re-made when a slider moves; a click on a boundary samples its ink.
// The dialog only shows: the session in the core does the work.
#pragma once

#include <QDialog>

#include "usecases/Trace.h"

class QLabel;
class QSlider;
class QTimer;

class AutoTraceDialog : public QDialog {
    Q_OBJECT
  public:
    AutoTraceDialog(QWidget* parent, usecase::TraceSession& session, usecase::TraceChoice& choice);
    QSlider* GapSlider() const { return gap_; }
    QSlider* AreaSlider() const { return area_; }
    QLabel* Preview() const { return preview_; }
    QLabel* Count() const { return count_; }
    // A click on the preview at (x, y) of the shown picture.
    void SampleAt(QPoint shown);

  protected:
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    void Refresh();
    usecase::TraceSession& session_;
    usecase::TraceChoice& choice_;
    QLabel* preview_;
    QLabel* count_;
    QLabel* ink_;
    QSlider* gap_;
    QSlider* area_;
    QTimer* timer_;
    double scale_ = 1;
    bool setting_ = false;
};
