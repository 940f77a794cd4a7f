// Saving files so that a failure never leaves a half-written or mismatched
// file behind: each file is written in full beside its final name, and the
// finished files are renamed into place together. When one rename fails, the
// ones already done are undone, so either every file is the new one or every
// file is still the old one.
//
// The files written beside the final names are called
// "<final name>.velmot-<process id>-<6 letters>.tmp" (backups of the old files
// end in ".old" instead), so that leftovers of a save cut short can be told
// from the person's own files and removed later.
#pragma once

#include <QIODevice>
#include <QString>
#include <functional>
#include <vector>

namespace safesave {

// The system's reason for an error number, in Japanese where we have words
// for it (a full disk, no permission, ...), else the system's own text.
QString Reason(int err);

// A file being written beside its final name. The temporary file is removed
// when the object goes without having been put in place.
class StagedFile : public QIODevice {
  public:
    explicit StagedFile(const QString& finalPath);
    ~StagedFile() override;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary file and opens it for writing.
    bool Begin();
    // Flushes the data to the disk and closes the file; false when the
    // system refused any of it.
    bool Finish();
    // Drops the temporary file.
    void Discard();
    // Takes a file another library wrote and closed (path: beside the final
    // name, on the same disk) as this one's content: it is flushed to the
    // disk and then committed like a file written here.
    bool Adopt(const QString& path);
    // Makes the commit remove the file under the final name (kept aside
    // until every other file of the set is in place).
    void RemoveOnCommit() { removing_ = true; }

    const QString& FinalPath() const { return final_; }
    const QString& TempPath() const { return temp_; }
    // The first failure's error number (0: none), and "<file> (<reason>)".
    int Error() const { return err_; }
    QString ErrorText() const;

    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override;

  private:
    friend bool CommitAll(const std::vector<StagedFile*>& files, QString* error);
    QString final_, temp_;
    int fd_ = -1;
    int err_ = 0;
    qint64 written_ = 0;
    bool committed_ = false;
    bool removing_ = false;
};

// Renames the finished files over their final names, all or none. On
// failure, error says which file and why.
bool CommitAll(const std::vector<StagedFile*>& files, QString* error);

// The one way a whole file is written: fill puts the content into the staged
// file; every write is checked, the size on disk is compared with what was
// written, the data is flushed to the disk, and only then does the file take
// its final name. A fill that fails without a system error (an encoder that
// gave up) counts as a failed write. error: "<path> に書き込めません。(<reason>)".
using Fill = std::function<bool(QIODevice&)>;
bool WriteFile(const QString& path, const Fill& fill, QString* error);
bool WriteFile(const QString& path, const QByteArray& bytes, QString* error);

// Removes what saves cut short left in dir: our temporary files and backups
// older than ten minutes whose process is gone, and any older than a day. A
// backup goes only while the file it backs up still holds the same data.
void RemoveStaleFiles(const QString& dir);

// The rename every commit and rollback goes through; returns 0 or the error
// number. Tests put a failing one in place; an empty function restores the
// system's.
using RenameFn = std::function<int(const QString& from, const QString& to)>;
void SetRename(RenameFn fn);

}  // namespace safesave
