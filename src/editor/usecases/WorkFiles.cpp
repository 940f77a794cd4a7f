#include "editor/usecases/WorkFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include "files/SafeSave.h"

namespace usecase {

namespace {

// Copies a file into an open save file in pieces, so a large picture is never
// held twice.
bool CopyInto(const QString& from, safesave::StagedFile& to, QString* error) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = msg::Format(Msg::PictureTempUnreadable, {from, in.errorString()});
        return false;
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(chunk.data(), chunk.size());
        if (got < 0) {
            *error = msg::Format(Msg::PictureTempUnreadable, {from, in.errorString()});
            return false;
        }
        if (got == 0) return true;
        if (to.write(chunk.constData(), got) != got) {
            *error =
                msg::Format(Msg::PictureNotWritten, {to.FinalPath(), safesave::Reason(to.Error())});
            return false;
        }
    }
}

}  // namespace

Result WorkPictureLine(const Store& st, const WorkNames& names, std::string* picture) {
    *picture = "0";
    if (!st.BasePicLoaded) return {true, {}, {}};
    const QString bare = QFileInfo(names.bitmap).fileName();
    QStringEncoder enc("windows-31j");
    const QByteArray bytes = enc.encode(bare);
    if (enc.hasError())
        return {
            false, Say(Msg::PictureNameNotSjis, {bare}, Msg::CapSaveWork, MsgIcon::Warning), {}};
    picture->assign(bytes.constData(), size_t(bytes.size()));
    return {true, {}, {}};
}

Result SaveWork(const Store& st, const WorkNames& names, const QString& pictureFile) {
    std::string picture;
    Result r = WorkPictureLine(st, names, &picture);
    if (!r.ok) return r;
    // Both files are written in full beside their final names and then put in
    // place together: a failure leaves the previous pair as it was, and
    // leftovers of an earlier save cut short are cleared first.
    safesave::RemoveStaleFiles(QFileInfo(names.work).absolutePath());
    QString error;
    safesave::StagedFile bitmap(names.bitmap), work(names.work);
    bool ok = true;
    if (st.BasePicLoaded) {
        ok = bitmap.Begin() && CopyInto(pictureFile, bitmap, &error) && bitmap.Finish();
        if (!ok && error.isEmpty())
            error = msg::Format(Msg::PictureNotWritten,
                                {names.bitmap, safesave::Reason(bitmap.Error())});
    }
    if (ok) {
        ok = work.Begin() && WriteWork(work, st, picture) && work.Finish();
        if (!ok)
            error = msg::Format(Msg::FileNotWritable, {names.work, safesave::Reason(work.Error())});
    }
    if (ok) {
        std::vector<safesave::StagedFile*> pair{&work};
        if (st.BasePicLoaded) pair.insert(pair.begin(), &bitmap);
        ok = safesave::CommitAll(pair, &error);
    }
    if (!ok) {
        bitmap.Discard();
        work.Discard();
        return {false, Say(Msg::WorkNotSaved, {error}, Msg::CapSaveWork, MsgIcon::Error), {}};
    }
    r.written.clear();
    if (st.BasePicLoaded) r.written << names.bitmap;
    r.written << names.work;
    return r;
}

}  // namespace usecase
