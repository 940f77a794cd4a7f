#include "doc/PictureCopy.h"

#include <sys/stat.h>

#include <QFile>

#include "base/SafeSave.h"

PictureCopy::Stamp PictureCopy::StampOf(const QString& path) {
    Stamp s;
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return s;
    s.exists = true;
    s.inode = uint64_t(st.st_ino);
    s.size = int64_t(st.st_size);
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

PictureCopy PictureCopy::Take(const QString& path, const PictureCopy* prev) {
    const Stamp now = StampOf(path);
    if (prev && prev->stamp == now) return *prev;
    PictureCopy c;
    c.stamp = now;
    if (!now.exists) return c;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        // Unreadable now: keep what the step before knew rather than
        // recording a picture that vanished.
        if (prev) c = *prev;
        c.stamp = now;
        return c;
    }
    c.exists = true;
    c.bytes = f.readAll();
    if (prev && prev->exists && prev->bytes == c.bytes) c.bytes = prev->bytes;
    return c;
}

bool PictureCopy::WriteBack(const QString& path) {
    if (path.isEmpty()) return true;
    if (StampOf(path) == stamp) return true;
    bool ok = true;
    if (!exists) {
        ok = !QFile::exists(path) || QFile::remove(path);
    } else {
        ok = safesave::WriteFile(path, bytes, nullptr);
    }
    stamp = StampOf(path);
    return ok;
}
