// The recently used files, newest first, in the settings file's [RECENT]
// section. Each change is written at once, so a second window or a crash
// does not lose it.
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "editor/Services.h"
#include "editor/SessionFiles.h"
#include "shell/IniFile.h"

namespace {
const QString kSection = QStringLiteral("RECENT");
QString Key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}
}  // namespace

QStringList SessionFiles::RecentFiles() const {
    IniFile ini;
    QStringList list;
    if (!ini.Load(SettingsPath(), nullptr)) return list;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        const QString f = ini.Value(kSection, Key(i), QString());
        if (!f.isEmpty() && !list.contains(f)) list << f;
    }
    return list;
}

void SessionFiles::NoteRecentFile(const QString& path) {
    // Batch runs and the core's own tests keep no list.
    if (!session_ || restoring_ || path.isEmpty()) return;
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList list = RecentFiles();
    list.removeAll(full);
    list.prepend(full);
    IniFile ini;
    const QString settings = SettingsPath();
    if (!ini.Load(settings, nullptr)) return;
    for (int i = 0; i < MaxRecentFiles; ++i)
        ini.SetValue(kSection, Key(i), i < list.size() ? list[i] : QString());
    ini.Save(settings, nullptr);
}

QString SessionFiles::SettingsPath() const {
    const QString fileName = QFileInfo(settings.programBase).fileName() + QStringLiteral(".INI");
    if (!settings.dir.isEmpty()) return QDir(settings.dir).filePath(fileName);
    const QFileInfo programDir(QFileInfo(settings.programBase).absolutePath());
    if (programDir.isDir() && programDir.isWritable())
        return settings.programBase + QStringLiteral(".INI");
    // Installed where users cannot write: each user keeps their own settings.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (dir.isEmpty() ||
        dir == QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        dir = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                  .filePath(QStringLiteral("Velmot"));
    QDir().mkpath(dir);
    return QDir(dir).filePath(fileName);
}
