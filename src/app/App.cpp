#include "app/App.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include "app/Artwork.h"
#include "app/SurfaceView.h"
#include "shell/IniFile.h"
#include "usecases/GeoReference.h"

VelmotApp::VelmotApp() : win(std::make_unique<MainWindow>(ed)) {
    ui.Attach(win.get(), ed);
    // The window links GDAL, the editor's core does not.
    ed.UseGeoRefBackend(usecase::GdalGeoRefBackend());
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
    watcher = new WorkWatcher(ed, *win);
    win->show();
    win->View()->setFocus();
}

void VelmotApp::OpenAtStart(const QString& path) {
    if (ed.OfferRecovery()) return;
    if (!path.isEmpty()) OpenFromCommandLine(path);
}

void VelmotApp::OpenFromCommandLine(const QString& path) {
    ed.OpenByContent(path);
    watcher->Refresh();
}

// The resources are linked from a static library, whose registration object
// the linker would otherwise drop.
static void LoadResources() {
    Q_INIT_RESOURCE(resources);
}

void SetUpApplication() {
    LoadResources();
    QApplication::setApplicationName(QStringLiteral("Velmot"));
    // Qt adds the display name to every window title; the title already ends
    // in it ("name.vlm — Velmot"), so it is shown once.
    QApplication::setApplicationDisplayName(QStringLiteral("Velmot"));
    QApplication::setApplicationVersion(QStringLiteral("1.22"));
    // One look on every platform, so the mode buttons' colours always show.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setFont(UiFont());
    QApplication::setWindowIcon(ProgramIcon());
}

void LoadQtTranslations() {
    // The program speaks Japanese, so Qt's dialogs do too, whatever the locale.
    auto* qt = new QTranslator(qApp);
    if (qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt);
    else
        delete qt;
}
