// The editor as a process: a window killed hard comes back from its autosave,
// a second instance leaves a running one's files alone, and the command line
// answers --help and --version without a window.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/App.h"
#include "app/MainWindow.h"
#include "app/WorkWatcher.h"
#include "app/SurfaceView.h"
#include "support/FakeUi.h"

namespace {

const char* const kChildEnv = "VELMOT_TRACING_CHILD";

QString Dump(const Store& st) {
    QStringList lines;
    for (int32_t i = 0; i <= st.PointLast; ++i)
        lines << QStringLiteral("%1,%2").arg(st.PointX(i)).arg(st.PointY(i));
    return lines.join(u'\n');
}

bool WaitFor(const QString& path, int ms) {
    QDeadlineTimer deadline(ms);
    while (!QFileInfo::exists(path) && !deadline.hasExpired()) QTest::qWait(50);
    return QFileInfo::exists(path);
}

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A window whose settings ask for an autosave every two seconds.
QString PrepareFolder(const QTemporaryDir& dir) {
    QFile ini(dir.filePath(QStringLiteral("velmot.INI")));
    if (ini.open(QIODevice::WriteOnly)) ini.write("[SET]\r\nAutoSave=2\r\n");
    return dir.path();
}

}  // namespace

// The child: traces, waits for its autosave, says what it traced, and runs
// until it is killed.
int RunTracingChild() {
    const QString dir = qEnvironmentVariable(kChildEnv);
    VelmotApp app;
    app.Start(QDir(dir).filePath(QStringLiteral("velmot")), dir);
    app.OpenAtStart(QString());
    for (QPoint p : {QPoint(30, 30), QPoint(120, 40), QPoint(100, 130), QPoint(30, 30)})
        QTest::mouseClick(app.win->View(), Qt::LeftButton, {}, p);
    if (!WaitFor(app.ed.sessionFiles.session_->WorkPath(), 20000)) return 3;
    QFile out(QDir(dir).filePath(QStringLiteral("traced.txt")));
    if (!out.open(QIODevice::WriteOnly)) return 4;
    out.write(Dump(app.ed.st).toUtf8());
    out.close();
    return QApplication::exec();
}

TEST(EditorProcess, AWindowKilledHardComesBackFromItsAutosave) {
    QTemporaryDir dir;
    PrepareFolder(dir);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildEnv), dir.path());
    child.setProcessEnvironment(env);
    child.start(QApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForStarted());
    const QString traced = dir.filePath(QStringLiteral("traced.txt"));
    ASSERT_TRUE(WaitFor(traced, 60000)) << child.readAllStandardError().toStdString();
    QTest::qWait(200);  // the file is written in one go, but give it its close
    const QString expected = ReadText(traced);
    ASSERT_FALSE(expected.isEmpty());

    {
        // While it runs, another instance neither offers nor touches its work.
        FakeUi ui;
        Editor ed(ui);
        ed.InitMain(dir.filePath(QStringLiteral("velmot")), dir.path());
        EXPECT_FALSE(ed.sessionFiles.OfferRecovery());
        EXPECT_TRUE(ui.messages.empty());
        ed.CloseMain(QRect(0, 0, 100, 100), false);
    }

    child.kill();  // SIGKILL: no clean-up of any kind
    ASSERT_TRUE(child.waitForFinished());

    QString caption;
    QTimer::singleShot(0, [&caption] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                caption = box->windowTitle();
                box->button(QMessageBox::Yes)->click();
            }
    });
    VelmotApp app;
    app.Start(dir.filePath(QStringLiteral("velmot")), dir.path());
    app.OpenAtStart(QString());
    EXPECT_TRUE(caption.contains(QStringLiteral("復元"))) << caption.toStdString();
    EXPECT_EQ(Dump(app.ed.st), expected);
    EXPECT_TRUE(app.ed.st.Modified);
    app.watcher->Refresh();
    EXPECT_TRUE(app.win->isWindowModified());
    EditMap(app.ed, [&](Store& s_) { s_.Modified = false; });
    app.win->close();
}

TEST(EditorProcess, HelpAndVersionExitWithoutAWindow) {
    for (const char* option : {"--version", "--help"}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VELMOT_BINARY), {QString::fromLatin1(option)});
        ASSERT_TRUE(p.waitForFinished(30000)) << option;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << option;
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_TRUE(
            out.contains(option[2] == 'v' ? QStringLiteral("1.22") : QStringLiteral("[file]")))
            << out.toStdString();
    }
}

TEST(EditorProcess, AFailingAutosaveIsToldOnceAndTriedAgain) {
    QTemporaryDir dir;
    PrepareFolder(dir);
    VelmotApp app;
    app.Start(dir.filePath(QStringLiteral("velmot")), dir.path());
    app.OpenAtStart(QString());
    for (int i = 1; i < 200; ++i) app.ed.input.AddPoint(10 + i, 20 + i % 7);
    EditMap(app.ed, [&](Store& s_) { s_.Modified = true; });
    auto boxes = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == QLatin1String("AutosaveFailed") && w->isVisible();
        return n;
    };
    {
        // A full disk: no file may grow beyond a few hundred bytes.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit room{256, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &room);
        const bool first = app.watcher->AutosaveNow(), second = app.watcher->AutosaveNow();
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_FALSE(first);
        EXPECT_FALSE(second);
    }
    EXPECT_EQ(boxes(), 1);
    EXPECT_TRUE(app.win->statusBar()->currentMessage().contains(QStringLiteral("自動保存できません")));
    EXPECT_TRUE(app.watcher->AutosaveNow());
    EXPECT_TRUE(QFileInfo::exists(app.ed.sessionFiles.session_->WorkPath()));
    EXPECT_TRUE(app.win->statusBar()->currentMessage().isEmpty());
    EditMap(app.ed, [&](Store& s_) { s_.Modified = false; });
    app.win->close();
}
