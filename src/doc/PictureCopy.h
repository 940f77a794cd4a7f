// The under-drawing's temporary file kept for undo: the bytes are read only
// when the file changed since the step before, and shared with it otherwise.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

struct PictureCopy {
    // What identifies one version of the file: it is always replaced whole
    // (a new inode) and never written in place.
    struct Stamp {
        bool exists = false;
        uint64_t inode = 0;
        int64_t size = -1, mtimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const QString& path);

    bool exists = false;
    QByteArray bytes;
    Stamp stamp;  // of the file these bytes were last seen in

    // The file as it is now, sharing the bytes of `prev` when they are equal.
    static PictureCopy Take(const QString& path, const PictureCopy* prev);
    // Makes the file hold these bytes (or removes it); false when it cannot
    // be written. Updates the stamp.
    bool WriteBack(const QString& path);
    bool SharesWith(const PictureCopy& o) const {
        return exists == o.exists && bytes.constData() == o.bytes.constData();
    }
};
