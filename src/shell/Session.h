// The files of one running editor: a lock that says the instance is alive,
// the names of its temporary files and its autosave. Each instance has a
// folder of its own under the autosave directory, named by process id and
// start time, and a lock file beside it; two instances never share a file,
// and a folder whose lock nobody holds belongs to a program that is gone.
#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Session {
  public:
    // The autosave of an instance that ended without cleaning up. It stays
    // locked by whoever found it until that one lets it go or deletes it.
    struct Orphan {
        QString dir;
        QString origin;  // the work file it was edited from; empty for unsaved work
        QDateTime saved;
        std::shared_ptr<QLockFile> lock;
        QString WorkPath() const;
    };

    explicit Session(const QString& root);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Creates this instance's folder and takes its lock.
    bool Start(QString* error);
    // Removes this instance's folder and lock (a normal end).
    void End();
    bool Started() const { return lock_ != nullptr; }
    QString Dir() const { return dir_; }
    QString WorkPath() const;
    QString PicturePath() const;
    // Remembers the temporary files, so that a later instance can remove them
    // should this one die.
    void RecordTemps(const QStringList& files);
    // Records which work file the autosave belongs to (empty: unsaved work).
    void RecordOrigin(const QString& origin);
    // Drops this instance's autosave (after a save).
    void DropAutosave();

    // Instances that are gone: their temporary files and empty folders are
    // removed; the ones with an autosave are returned, locked, newest first.
    std::vector<Orphan> TakeOrphans();
    static void Delete(Orphan& o);

  private:
    QString root_, dir_;
    std::unique_ptr<QLockFile> lock_;
};
