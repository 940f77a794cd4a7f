#include "base/SafeSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Messages.h"

namespace safesave {

namespace {

RenameFn& Renamer() {
    static RenameFn fn;
    return fn;
}

int DoRename(const QString& from, const QString& to) {
    if (Renamer()) return Renamer()(from, to);
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
               ? 0
               : errno;
}

// "<final>.velmot-<pid>-<6 letters><suffix>", not yet used by any file.
QString FreeName(const QString& final, const char* suffix) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (;;) {
        QString name = final + QStringLiteral(".velmot-%1-").arg(::getpid());
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        name += QLatin1String(suffix);
        struct stat sb;
        if (::lstat(QFile::encodeName(name).constData(), &sb) != 0) return name;
    }
}

bool Exists(const QString& path) {
    struct stat sb;
    return ::lstat(QFile::encodeName(path).constData(), &sb) == 0;
}

QString Described(const QString& path, int err) {
    return QStringLiteral("%1 (%2)").arg(path, Reason(err));
}

}  // namespace

QString Reason(int err) {
    switch (err) {
        case ENOSPC:
            return msg::Text(Msg::ReasonDiskFull);
#ifdef EDQUOT
        case EDQUOT:
            return msg::Text(Msg::ReasonQuota);
#endif
        case EACCES:
        case EPERM:
            return msg::Text(Msg::ReasonAccess);
        case EROFS:
            return msg::Text(Msg::ReasonReadOnly);
        case EISDIR:
            return msg::Text(Msg::ReasonIsFolder);
        case ENOENT:
        case ENOTDIR:
            return msg::Text(Msg::ReasonNoFolder);
        case ENAMETOOLONG:
            return msg::Text(Msg::ReasonNameTooLong);
        case EBUSY:
        case ETXTBSY:
            return msg::Text(Msg::ReasonBusy);
        case EIO:
            return msg::Text(Msg::ReasonIo);
        case EFBIG:
            return msg::Text(Msg::ReasonTooBig);
        case EMFILE:
        case ENFILE:
            return msg::Text(Msg::ReasonTooManyOpen);
        case EXDEV:
            return msg::Text(Msg::ReasonCrossDevice);
        default:
            break;
    }
    return QString::fromLocal8Bit(std::strerror(err));
}

StagedFile::StagedFile(const QString& finalPath) : final_(finalPath) {
    // A link is saved through, as an editor saving in place would: the file
    // it points to gets the new content and the link stays a link.
    const QFileInfo info(finalPath);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty()) final_ = info.canonicalFilePath();
}

StagedFile::~StagedFile() {
    Discard();
}

bool StagedFile::Begin() {
    Discard();
    err_ = 0;
    written_ = 0;
    committed_ = false;
    temp_ = FreeName(final_, ".tmp");
    // The new file keeps the permissions of the one it replaces.
    mode_t mode = 0666;
    struct stat sb;
    const bool had = ::stat(QFile::encodeName(final_).constData(), &sb) == 0;
    if (had && S_ISDIR(sb.st_mode)) {
        err_ = EISDIR;
        temp_.clear();
        return false;
    }
    fd_ = ::open(QFile::encodeName(temp_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                 had ? (sb.st_mode & 07777) : mode);
    if (fd_ < 0) {
        err_ = errno;
        temp_.clear();
        return false;
    }
    if (had) (void)::fchmod(fd_, sb.st_mode & 07777);  // the umask does not apply to a copy
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 StagedFile::writeData(const char* data, qint64 len) {
    if (fd_ < 0 || err_ != 0) return -1;
    qint64 done = 0;
    while (done < len) {
        const ssize_t n = ::write(fd_, data + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            err_ = errno;
            setErrorString(Reason(err_));
            return -1;
        }
        done += n;
    }
    written_ += done;
    return done;
}

bool StagedFile::Finish() {
    if (fd_ < 0) return false;
    QIODevice::close();
    // A write the system took in part, or a file system that dropped some of
    // it, shows as a size other than what was written.
    struct stat sb;
    if (err_ == 0 && ::fstat(fd_, &sb) != 0) err_ = errno;
    if (err_ == 0 && S_ISREG(sb.st_mode) && sb.st_size != written_) err_ = EIO;
    if (err_ == 0 && ::fsync(fd_) != 0) err_ = errno;
    if (::close(fd_) != 0 && err_ == 0) err_ = errno;
    fd_ = -1;
    return err_ == 0;
}

void StagedFile::Discard() {
    if (isOpen()) QIODevice::close();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!committed_ && !temp_.isEmpty()) ::unlink(QFile::encodeName(temp_).constData());
    temp_.clear();
}

bool StagedFile::Adopt(const QString& path) {
    Discard();
    err_ = 0;
    committed_ = false;
    temp_ = path;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err_ = errno;
        return false;
    }
    if (::fsync(fd) != 0) err_ = errno;
    if (::close(fd) != 0 && err_ == 0) err_ = errno;
    return err_ == 0;
}

QString StagedFile::ErrorText() const {
    return Described(final_, err_);
}

bool CommitAll(const std::vector<StagedFile*>& files, QString* error) {
    struct Step {
        StagedFile* f;
        QString backup;
        bool linked = false;  // the old file has a second name, backup
        bool aside = false;   // the old file was renamed to backup
        bool placed = false;  // the new file has the final name
    };
    std::vector<Step> steps;
    for (StagedFile* f : files) {
        if (f->removing_ && !Exists(f->final_)) continue;
        if (f->fd_ >= 0 || (f->temp_.isEmpty() && !f->removing_) || f->err_ != 0) {
            if (error) *error = f->ErrorText();
            return false;
        }
        Step s{f, QString()};
        if (Exists(f->final_)) {
            s.backup = FreeName(f->final_, ".old");
            // A second name keeps the old file whole until the end; where the
            // file system has no links, it is renamed aside just in time.
            s.linked = ::link(QFile::encodeName(f->final_).constData(),
                              QFile::encodeName(s.backup).constData()) == 0;
        }
        steps.push_back(s);
    }

    size_t i = 0;
    int err = 0;
    QString failed;
    for (; i < steps.size(); ++i) {
        Step& s = steps[i];
        if (!s.backup.isEmpty() && !s.linked) {
            if ((err = DoRename(s.f->final_, s.backup)) != 0) {
                failed = s.f->final_;
                break;
            }
            s.aside = true;
        }
        if (s.f->removing_) {
            if (s.linked && ::unlink(QFile::encodeName(s.f->final_).constData()) != 0) {
                err = errno;
                failed = s.f->final_;
                break;
            }
            s.placed = s.linked;
            continue;
        }
        if ((err = DoRename(s.f->temp_, s.f->final_)) != 0) {
            failed = s.f->final_;
            break;
        }
        s.placed = true;
    }
    if (i == steps.size()) {
        // The renames themselves reach the disk with the folder's entries.
        for (Step& s : steps) {
            const int dir =
                ::open(QFile::encodeName(QFileInfo(s.f->final_).absolutePath()).constData(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir >= 0) {
                (void)::fsync(dir);
                ::close(dir);
            }
        }
        for (Step& s : steps) {
            s.f->committed_ = true;
            s.f->temp_.clear();
            if (!s.backup.isEmpty()) ::unlink(QFile::encodeName(s.backup).constData());
        }
        return true;
    }

    // Undo: every final name gets its old file back (or none, if it had none).
    QStringList kept;
    for (size_t j = 0; j <= i && j < steps.size(); ++j) {
        Step& s = steps[j];
        if (s.placed || s.aside) {
            if (s.backup.isEmpty()) {
                ::unlink(QFile::encodeName(s.f->final_).constData());
            } else if (DoRename(s.backup, s.f->final_) != 0) {
                kept << s.backup;
                continue;
            }
        }
        if (!s.backup.isEmpty() && s.linked && !s.placed)
            ::unlink(QFile::encodeName(s.backup).constData());
    }
    for (size_t j = i + 1; j < steps.size(); ++j)
        if (steps[j].linked) ::unlink(QFile::encodeName(steps[j].backup).constData());
    for (Step& s : steps)
        if (s.placed) s.f->temp_.clear();  // the name now belongs to the old file
    if (error) {
        *error = msg::Text(Msg::FileNotWritable).arg(failed, Reason(err));
        for (const QString& k : kept) *error += msg::Text(Msg::OriginalKeptAt).arg(k);
    }
    return false;
}

bool WriteFile(const QString& path, const Fill& fill, QString* error) {
    StagedFile f(path);
    const bool filled = f.Begin() && fill(f);
    // Finish before judging: it closes the file and finds what the writes
    // did not tell (a short file, a failed flush to the disk).
    const bool finished = f.Finish();
    if (!filled || !finished) {
        const int err = f.Error() != 0 ? f.Error() : EIO;
        if (error) *error = msg::Text(Msg::FileNotWritable).arg(path, Reason(err));
        return false;
    }
    return CommitAll({&f}, error);
}

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    return WriteFile(
        path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); }, error);
}

void RemoveStaleFiles(const QString& dir) {
    static const QRegularExpression ours(
        QStringLiteral("\\.velmot-(\\d+)-[A-Za-z0-9]{6}\\.(tmp|old)$"));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // The folder is read by name alone: a folder of thousands of files costs
    // a save no more than a glance at each name.
    const QByteArray folder = QFile::encodeName(dir);
    DIR* d = ::opendir(folder.constData());
    if (!d) return;
    QStringList names;
    while (const dirent* e = ::readdir(d))
        if (std::strstr(e->d_name, ".velmot-")) names << QFile::decodeName(e->d_name);
    ::closedir(d);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = ours.match(name);
        if (!m.hasMatch()) continue;
        const QString path = dir + u'/' + name;
        struct stat sb;
        if (::lstat(QFile::encodeName(path).constData(), &sb) != 0 || !S_ISREG(sb.st_mode))
            continue;
        // A backup is a second name of the old file, whose own time is the
        // old file's: its age is that of the name (the inode's change time).
        // A backup that is the only name left holds the only copy of the
        // old file, which a message named for keeping: never ours to remove.
        const bool backup = m.captured(2) == QLatin1String("old");
        if (backup && sb.st_nlink < 2) continue;
        const QDateTime made =
            QDateTime::fromSecsSinceEpoch(backup ? sb.st_ctime : sb.st_mtime, Qt::UTC);
        const qint64 age = made.secsTo(now);
        const pid_t pid = pid_t(m.captured(1).toLongLong());
        // A save under way keeps writing to its file, so an old one whose
        // process is gone was cut short; a day old is stale whoever wrote it.
        const bool gone = pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
        if (age > 24 * 3600 || (age > 600 && gone)) ::unlink(QFile::encodeName(path).constData());
    }
}

void SetRename(RenameFn fn) {
    Renamer() = std::move(fn);
}

}  // namespace safesave
