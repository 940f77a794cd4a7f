// The work's file, the autosave and its recovery, and the recent files
// (editor/AutoSave.cpp, editor/RecentFiles.cpp).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>
#include "shell/Session.h"
#include "editor/EditorPart.h"

class WorkFileCommands;

class SessionFiles : public EditorPart {
  public:
    SessionFiles(Workbench& w, WorkFileCommands& workFiles)
        : EditorPart(w), workFiles_(workFiles) {}

    // The work file the work was last read from or saved to; empty for new
    // work, a finished map or a restored autosave of unsaved work. Saving
    // over it needs no questions.
    QString docFile_;
    // The instance's lock, autosave and temporary-file record; only the
    // window has one (InitMain), batch runs and core tests do not.
    std::unique_ptr<Session> session_;
    std::vector<Session::Orphan> declined_;  // kept until the next save
    bool restoring_ = false;
    QString AutosaveRoot() const;
    void StartSession();
    void EndSession();
    // Writes the work into this instance's autosave; false when there is no
    // unsaved work or it cannot be written.
    bool WriteAutosave(QString* error = nullptr);
    // Offers the autosaves that instances which are gone left behind;
    // true when one was restored.
    bool OfferRecovery();
    // After a successful save: the autosaves have done their job.
    void WorkSaved(const QString& workFile);
    // The settings file: beside the program, or in the user's settings
    // folder when the program's folder is not writable.
    QString SettingsPath() const;
    QStringList RecentFiles() const;
    void NoteRecentFile(const QString& path);
    static constexpr int MaxRecentFiles = 8;

  private:
    WorkFileCommands& workFiles_;
};
