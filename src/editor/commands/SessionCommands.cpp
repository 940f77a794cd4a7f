// The program's life cycle: settings, temporary files and the drawing surface
// at start; the close question, the settings and the clean-up at the end.
#include "editor/commands/SessionCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <limits>

#include "base/Messages.h"
#include "editor/Services.h"
#include "editor/commands/WorkFileCommands.h"
#include "shell/IniFile.h"

namespace {

const QString kDefaultPosition = QStringLiteral("190,100,560,420");
const QString kDefaultImage = QStringLiteral("0,0");

// Splits at the first sep: the text before it and the text after it (or the
// whole text and nothing).
std::pair<QString, QString> SplitField(QChar sep, const QString& source) {
    const int at = source.indexOf(sep);
    if (at < 0) return {source.left(255), QString()};
    return {source.left(at).left(255), source.mid(at + 1).left(255)};
}

// A decimal integer, or def when the text is not one (or does not fit).
int ToInt(const QString& text, int def, int lo = std::numeric_limits<int>::min(),
          int hi = std::numeric_limits<int>::max()) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    return ok && v >= lo && v <= hi ? int(v) : def;
}

}  // namespace

void SessionCommands::SetProgramBase(const QString& programPath) {
    // Only a dot in the file name starts an extension; a dot in a directory
    // name does not.
    const QFileInfo info(programPath);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    settings.programBase = info.absoluteDir().filePath(base);
}

QString SessionCommands::SettingsPath() const {
    return wb.sessionFiles.SettingsPath();
}

void SessionCommands::ReadSettings() {
    IniFile ini;
    QString error;
    if (!ini.Load(SettingsPath(), &error))
        ui.Inform(error, QStringLiteral("Velmot"), MsgIcon::Warning);

    settings.positionSaved =
        !ini.Value(QStringLiteral("MAIN"), QStringLiteral("Position"), QString()).isEmpty();
    settings.positionText =
        ini.Value(QStringLiteral("MAIN"), QStringLiteral("Position"), settings.positionText);
    QString rest = settings.positionText;
    int bounds[4];
    const int defaults[4] = {190, 100, 560, 420};
    for (int i = 0; i < 4; ++i) {
        auto [head, tail] = SplitField(QLatin1Char(','), rest);
        bounds[i] = ToInt(head, defaults[i]);
        rest = tail;
    }
    // A window with no area cannot be shown; take the default size instead.
    if (bounds[2] < 1 || bounds[3] < 1) {
        bounds[2] = defaults[2];
        bounds[3] = defaults[3];
    }
    settings.winLeft = bounds[0];
    settings.winTop = bounds[1];
    settings.winWidth = bounds[2];
    settings.winHeight = bounds[3];
    settings.winMaximized = !rest.isEmpty();

    settings.showHintLoaded = int16_t(
        ToInt(ini.Value(QStringLiteral("SET"), QStringLiteral("ShowHint"), QStringLiteral("1")), 1,
              -32768, 32767));
    settings.showHint = settings.showHintLoaded;

    settings.imageText = ini.Value(QStringLiteral("SET"), QStringLiteral("Image"), kDefaultImage);
    auto [w, h] = SplitField(QLatin1Char(','), settings.imageText);
    const int mw = ToInt(w, 0, 0, 32767), mh = ToInt(h, 0, 0, 32767);
    // Half a size is no size: both must be given for the setting to count.
    const bool sized = mw > 0 && mh > 0;
    doc.SetExtent(int16_t(sized ? mw : 0), int16_t(sized ? mh : 0));

    // Seconds between autosaves, up to a day; 0 turns them off.
    settings.autosaveSeconds =
        ToInt(ini.Value(QStringLiteral("SET"), QStringLiteral("AutoSave"), QStringLiteral("120")),
              120, 0, 86400);
}

void SessionCommands::WriteSettings() {
    QString position = QStringLiteral("%1,%2,%3,%4")
                           .arg(settings.winLeft)
                           .arg(settings.winTop)
                           .arg(settings.winWidth)
                           .arg(settings.winHeight);
    if (settings.winMaximized) position += QStringLiteral(",MAX");
    const QString image = QStringLiteral("%1,%2").arg(st.MapWidth).arg(st.MapHeight);
    if (position == settings.positionText && settings.showHint == settings.showHintLoaded &&
        image == settings.imageText)
        return;

    const QString path = SettingsPath();
    IniFile ini;
    QString error;
    // An unreadable file is left alone rather than replaced by three keys.
    if (!ini.Load(path, &error)) {
        ui.Inform(error, QStringLiteral("Velmot"), MsgIcon::Warning);
        return;
    }
    ini.SetValue(QStringLiteral("MAIN"), QStringLiteral("Position"), position);
    ini.SetValue(QStringLiteral("SET"), QStringLiteral("ShowHint"),
                 QString::number(settings.showHint));
    ini.SetValue(QStringLiteral("SET"), QStringLiteral("Image"), image);
    if (!ini.Save(path, &error)) {
        ui.Inform(error, QStringLiteral("Velmot"), MsgIcon::Warning);
        return;
    }
    settings.positionText = position;
    settings.showHintLoaded = settings.showHint;
    settings.imageText = image;
}

void SessionCommands::MakeTempNames() {
    temps.dir = QDir::tempPath();
    QString* names[] = {&temps.picture, &temps.second, &temps.third};
    for (QString* name : names) {
        QTemporaryFile f(QDir(temps.dir).filePath(QStringLiteral("mapXXXXXX.tmp")));
        f.setAutoRemove(false);
        if (f.open()) {
            *name = f.fileName();
            f.close();
        } else {
            name->clear();
            ui.Inform(msg::Text(Msg::TempNotCreated).arg(temps.dir, f.errorString()),
                      QStringLiteral("Velmot"), MsgIcon::Warning);
        }
    }
}

void SessionCommands::DeleteTempFiles() {
    for (const QString* name : {&temps.picture, &temps.second, &temps.third})
        if (!name->isEmpty() && QFileInfo::exists(*name)) QFile::remove(*name);
    wb.canvas.picPath_.clear();
}

void SessionCommands::SetUpSurface() {
    int w = st.MapWidth > 0 ? st.MapWidth : DefaultSurfaceWidth;
    int h = st.MapWidth > 0 ? st.MapHeight : DefaultSurfaceHeight;
    for (;;) {
        const bool fits = surfacePixelLimit_ == 0 || size_t(w) * size_t(h) <= surfacePixelLimit_;
        if ((fits && surf.Resize(w, h)) || w < 5 || h < 5) break;
        w = w / 5 * 4;
        h = h / 5 * 4;
    }
    surf.SetRop(Rop::Copy);
    surf.SetBrush(Black);
    surf.SetPen(Black);
    surf.Rectangle(0, 0, surf.Width(), surf.Height());
    surfaceSetupWidth_ = surf.Width();
    surfaceSetupHeight_ = surf.Height();
    doc.SetExtent(int16_t(std::min(surf.Width(), 32767)), int16_t(std::min(surf.Height(), 32767)));
    ui.SurfaceChanged();
}

void SessionCommands::InitMain(const QString& programPath, const QString& settingsDir) {
    if (!settingsDir.isEmpty()) settings.dir = settingsDir;
    MakeTempNames();
    SetProgramBase(programPath);
    ReadSettings();
    wb.sessionFiles.StartSession();
    // A first start has no place saved: the window chooses one for the screen.
    ui.SetWindowBounds(settings.positionSaved ? QRect(settings.winLeft, settings.winTop,
                                                      settings.winWidth, settings.winHeight)
                                              : QRect(),
                       settings.winMaximized);
    doc.SetMode(Mode::Input);
    SetUpSurface();
    doc.NoPicture();
    wb.modes.SwitchMode(Mode::Input);
    wb.states.InitCommandStates();
    wb.states.ApplyHintSetting();
}

bool SessionCommands::CloseQuery() {
    // A cancelled or failed save keeps the window open.
    return !st.Modified || workFiles_.MayLetWorkGo(Msg::SaveBeforeCloseAsk, Msg::CapCloseConfirm);
}

void SessionCommands::CloseMain(QRect normalBounds, bool maximized) {
    settings.winMaximized = maximized;
    settings.winLeft = normalBounds.left();
    settings.winTop = normalBounds.top();
    settings.winWidth = normalBounds.width();
    settings.winHeight = normalBounds.height();
    doc.SetExtent(
        int16_t(std::min(surfaceSetupWidth_ > 0 ? surfaceSetupWidth_ : surf.Width(), 32767)),
        int16_t(std::min(surfaceSetupHeight_ > 0 ? surfaceSetupHeight_ : surf.Height(), 32767)));
    WriteSettings();
    DeleteTempFiles();
    wb.sessionFiles.EndSession();
}

void SessionCommands::QuitClick() {
    ui.CloseMainWindow();
}
