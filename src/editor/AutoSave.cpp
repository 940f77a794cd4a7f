// Autosave and recovery: every so often the window writes the unsaved work
// into its instance's own folder in the user's data directory (never over
// the person's file); at start, the autosaves of instances that are gone are
// offered back.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "editor/Services.h"
#include "editor/SessionFiles.h"
#include "editor/commands/WorkFileCommands.h"
#include "formats/WorkFormat.h"
#include "georef/GeoRefFiles.h"

namespace {

const QString kCaption = msg::Text(Msg::CapRestore);

bool CopyFile(const QString& from, const QString& to, QString* error) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = msg::Text(Msg::AutosaveCopyFailed).arg(from, to);
        return false;
    }
    bool readOk = true;
    const bool ok = safesave::WriteFile(
        to,
        [&](QIODevice& out) {
            QByteArray chunk(1 << 16, Qt::Uninitialized);
            qint64 got;
            while ((got = in.read(chunk.data(), chunk.size())) > 0)
                if (out.write(chunk.constData(), got) != got) return false;
            readOk = got == 0;
            return readOk;
        },
        error);
    if (!readOk) *error = msg::Text(Msg::AutosaveCopyFailed).arg(from, to);
    return ok;
}

}  // namespace

QString SessionFiles::AutosaveRoot() const {
    // Tests that give their own settings folder keep their autosaves there too.
    const QString base = settings.dir.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                             : settings.dir;
    return QDir(base).filePath(QStringLiteral("autosave"));
}

void SessionFiles::StartSession() {
    session_ = std::make_unique<Session>(AutosaveRoot());
    QString error;
    if (!session_->Start(&error)) {
        session_.reset();
        ui.Inform(error + msg::Text(Msg::AutosaveOff), QStringLiteral("Velmot"), MsgIcon::Warning);
        return;
    }
    session_->RecordTemps({temps.picture, temps.second, temps.third});
}

void SessionFiles::EndSession() {
    for (Session::Orphan& o : declined_)
        if (o.lock) o.lock->unlock();
    declined_.clear();
    if (session_) session_->End();
}

bool SessionFiles::WriteAutosave(QString* error) {
    if (!session_ || !st.Modified) return false;
    QString why;
    std::string picture = "0";
    if (st.BasePicLoaded) {
        if (!CopyFile(temps.picture, session_->PicturePath(), &why)) {
            if (error) *error = why;
            return false;
        }
        picture = QFileInfo(session_->PicturePath()).fileName().toStdString();
    }
    if (!WriteWorkFile(session_->WorkPath(), st, picture, &why)) {
        if (error) *error = why;
        return false;
    }
    // The georeference is restored with the work; an autosave without one
    // must not keep an older one.
    const QString geoPath = georef::JsonPathFor(session_->WorkPath());
    if (st.Geo.Empty()) QFile::remove(geoPath);
    for (const georef::SideFile& f : georef::SideFiles(st.Geo, session_->WorkPath(), QString()))
        if (!safesave::WriteFile(f.path, f.bytes, error)) return false;
    session_->RecordOrigin(docFile_);
    return true;
}

bool SessionFiles::OfferRecovery() {
    if (!session_) return false;
    bool restored = false;
    for (Session::Orphan& o : session_->TakeOrphans()) {
        // A file newer than the autosave may have been saved from it, or only
        // touched, copied or synced: the autosave is offered all the same,
        // saying so, and never deleted unasked.
        const QFileInfo origin(o.origin);
        const bool newer =
            !o.origin.isEmpty() && origin.isFile() && origin.lastModified() > o.saved;
        if (restored) {
            // One restore per window; the others wait for the next start.
            o.lock->unlock();
            continue;
        }
        const QString what = o.origin.isEmpty()
                                 ? msg::Text(Msg::UnsavedWork)
                                 : msg::Text(Msg::WorkOf).arg(QDir::toNativeSeparators(o.origin));
        const QString format = QStringLiteral("yyyy/MM/dd hh:mm:ss");
        QString text = msg::Text(Msg::RestoreAsk).arg(what, o.saved.toString(format));
        if (newer)
            text += msg::Format(Msg::RestoreFileNewer, {QDir::toNativeSeparators(o.origin),
                                                        origin.lastModified().toString(format)});
        if (!ui.AskYesNo(text, kCaption)) {
            declined_.push_back(std::move(o));
            continue;
        }
        restoring_ = true;
        const bool ok = workFiles_.LoadWorkFile(o.WorkPath());
        restoring_ = false;
        if (!ok) {
            declined_.push_back(std::move(o));
            continue;
        }
        // Back as unsaved work under the name it had.
        doc.NameWorkFile(o.origin);
        docFile_ = o.origin;
        doc.MarkChanged();
        wb.modes.SwitchMode(Mode::Input);
        // Safe in this instance's own autosave before the old one goes.
        if (WriteAutosave()) Session::Delete(o);
        restored = true;
    }
    return restored;
}

void SessionFiles::WorkSaved(const QString& workFile) {
    docFile_ = workFile;
    for (Session::Orphan& o : declined_) Session::Delete(o);
    declined_.clear();
    if (session_) session_->DropAutosave();
    NoteRecentFile(workFile);
}
