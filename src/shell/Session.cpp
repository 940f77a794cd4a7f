#include "shell/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "base/Messages.h"
#include "base/SafeSave.h"

namespace {

const QString kWork = QStringLiteral("work.vlm");
const QString kPicture = QStringLiteral("work.bmp");
const QString kOrigin = QStringLiteral("origin");
const QString kTemps = QStringLiteral("temps");

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool WriteText(const QString& path, const QString& text) {
    return safesave::WriteFile(path, text.toUtf8(), nullptr);
}

std::unique_ptr<QLockFile> Lock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Only a holder that is gone makes a lock stale, however old it is: an
    // editor may well stay open for days.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

}  // namespace

QString Session::Orphan::WorkPath() const {
    return QDir(dir).filePath(kWork);
}

Session::Session(const QString& root) : root_(root) {}

Session::~Session() = default;

bool Session::Start(QString* error) {
    if (!QDir().mkpath(root_)) {
        if (error) *error = msg::Text(Msg::NotCreated).arg(root_);
        return false;
    }
    const QString base = QStringLiteral("%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    // The lock comes before the folder, so nobody ever sees the folder unlocked.
    for (int n = 0; n < 100 && !lock_; ++n) {
        const QString id = n == 0 ? base : QStringLiteral("%1-%2").arg(base).arg(n);
        if (QFileInfo::exists(QDir(root_).filePath(id))) continue;
        lock_ = Lock(QDir(root_).filePath(id + QStringLiteral(".lock")));
        if (lock_) dir_ = QDir(root_).filePath(id);
    }
    if (!lock_ || !QDir().mkpath(dir_)) {
        if (error) *error = msg::Text(Msg::AutosavePlaceNotMade).arg(root_);
        lock_.reset();
        return false;
    }
    return true;
}

void Session::End() {
    if (!lock_) return;
    QDir(dir_).removeRecursively();
    lock_->unlock();
    lock_.reset();
}

QString Session::WorkPath() const {
    return QDir(dir_).filePath(kWork);
}

QString Session::PicturePath() const {
    return QDir(dir_).filePath(kPicture);
}

void Session::RecordTemps(const QStringList& files) {
    if (lock_) WriteText(QDir(dir_).filePath(kTemps), files.join(u'\n'));
}

void Session::RecordOrigin(const QString& origin) {
    if (lock_) WriteText(QDir(dir_).filePath(kOrigin), origin);
}

void Session::DropAutosave() {
    if (!lock_) return;
    for (const QString& f : {kWork, kWork + QStringLiteral(".json"), kPicture, kOrigin})
        QFile::remove(QDir(dir_).filePath(f));
}

std::vector<Session::Orphan> Session::TakeOrphans() {
    std::vector<Orphan> found;
    const QDir root(root_);
    for (const QString& id : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dir = root.filePath(id);
        if (dir == dir_) continue;
        std::unique_ptr<QLockFile> lock = Lock(dir + QStringLiteral(".lock"));
        if (!lock) continue;  // its program is running
        // Temporary files of our own making only, whatever the record says.
        const QStringList temps =
            ReadText(QDir(dir).filePath(kTemps)).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& t : temps) {
            const QString name = QFileInfo(t).fileName();
            if (name.startsWith(QStringLiteral("map")) && name.endsWith(QStringLiteral(".tmp")))
                QFile::remove(t);
        }
        QFile::remove(QDir(dir).filePath(kTemps));
        const QFileInfo work(QDir(dir).filePath(kWork));
        if (!work.isFile()) {
            QDir(dir).removeRecursively();
            lock->unlock();
            continue;
        }
        Orphan o;
        o.dir = dir;
        o.origin = ReadText(QDir(dir).filePath(kOrigin));
        o.saved = work.lastModified();
        o.lock = std::move(lock);
        found.push_back(std::move(o));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.saved > b.saved; });
    return found;
}

void Session::Delete(Orphan& o) {
    QDir(o.dir).removeRecursively();
    if (o.lock) o.lock->unlock();
    o.lock.reset();
}
