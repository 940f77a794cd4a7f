#include "app/App.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>

#include "app/Artwork.h"
#include "app/SurfaceView.h"
#include "shell/IniFile.h"

VelmotApp::VelmotApp() : win(std::make_unique<MainWindow>(ed)) {
    ui.Attach(win.get(), ed);
}

VelmotApp::~VelmotApp() = default;

void VelmotApp::Start(const QString& programPath, const QString& settingsDir) {
    ed.InitMain(programPath, settingsDir);
    // Snapping's reach in screen pixels: [SET] SnapTolerance, 0 for exact
    // pixels only, -1 for no snapping at all.
    IniFile ini;
    if (ini.Load(ed.SettingsPath(), nullptr)) {
        bool ok = false;
        const int tol =
            ini.Value(QStringLiteral("SET"), QStringLiteral("SnapTolerance"), QString()).toInt(&ok);
        if (ok && tol >= -1 && tol <= 64) win->View()->SetSnapTolerance(tol);
    }
    win->show();
    win->View()->setFocus();
}

void VelmotApp::OpenFromCommandLine(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("idt"), Qt::CaseInsensitive) == 0)
        ed.ReadFinishedMap(path);
    else
        ed.LoadWorkFile(path);
    ed.BuildModeClick();
}

// The resources are linked from a static library, whose registration object
// the linker would otherwise drop.
static void LoadResources() {
    Q_INIT_RESOURCE(resources);
}

void SetUpApplication() {
    LoadResources();
    QApplication::setApplicationName(QStringLiteral("Velmot"));
    QApplication::setApplicationDisplayName(QString::fromUtf8("ZENKAN地図 作成"));
    QApplication::setApplicationVersion(QStringLiteral("1.22"));
    // One look on every platform, so the mode buttons' colours always show.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setFont(UiFont());
    QApplication::setWindowIcon(ProgramIcon());
}
