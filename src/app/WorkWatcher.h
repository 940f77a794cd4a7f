// Follows the work in the window: its file name and modified flag into the
// title ("name.vlm[*] — Velmot"), and the autosave of unsaved changes every
// [SET] AutoSave seconds. The core sets the flag in many places, so the
// window looks at it rather than being told.
#pragma once

#include <QObject>
#include <QTimer>

class Editor;
class MainWindow;

class WorkWatcher : public QObject {
    Q_OBJECT
  public:
    WorkWatcher(Editor& ed, MainWindow& win);
    // Brings the title up to date now.
    void Refresh();
    // One autosave round: writes when there is unsaved work the person has
    // touched since the last one. True when a file was written.
    bool AutosaveNow();

  private:
    // Shows a failed autosave: the status bar each time, a message once
    // until an autosave succeeds again.
    void AutosaveFailed(const QString& error);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    Editor& ed_;
    MainWindow& win_;
    QTimer title_, autosave_;
    // Input since the last autosave: without any, the work cannot have changed.
    bool touched_ = true;
    bool failing_ = false;
};
