// Every writer against a full disk, a failed rename and a read-only folder:
// the earlier file is left as it was, no temporary file stays behind, and
// the failure is reported (false with a message; a non-zero exit from the
// command line). A full disk is a file-size limit on the process, which
// fails writes the way a full disk does and needs no privileges.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "doc/PictureCopy.h"
#include "formats/WorkFormat.h"
#include "georef/GeoRefFiles.h"
#include "gis/MapTransform.h"
#include "raster/BitmapFile.h"
#include "raster/Surface.h"
#include "shell/IniFile.h"
#include "support/CliRun.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"
#include "usecases/WorkFiles.h"

namespace {

enum class Fault { DiskFull, Rename, ReadOnly };
constexpr Fault kFaults[] = {Fault::DiskFull, Fault::Rename, Fault::ReadOnly};
constexpr rlim_t kRoom = 256;  // bytes a file may grow to while the disk is "full"

const char* Name(Fault f) {
    return f == Fault::DiskFull ? "full disk" : f == Fault::Rename ? "failed rename" : "read-only folder";
}

// A read-only folder does not stop the superuser.
bool Unsupported(Fault f) {
    return f == Fault::ReadOnly && ::geteuid() == 0;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Holds one fault for the writers run in this process.
class InProcess {
  public:
    InProcess(Fault f, const QString& dir) : fault_(f), dir_(dir) {
        if (f == Fault::DiskFull) {
            ::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &old_);
            const rlimit room{kRoom, old_.rlim_max};
            ::setrlimit(RLIMIT_FSIZE, &room);
        } else if (f == Fault::Rename) {
            safesave::SetRename([](const QString&, const QString&) { return EIO; });
        } else {
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~InProcess() {
        if (fault_ == Fault::DiskFull) ::setrlimit(RLIMIT_FSIZE, &old_);
        safesave::SetRename({});
        QFile::setPermissions(dir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

  private:
    Fault fault_;
    QString dir_;
    rlimit old_{};
};

// The files of dir other than those named: what a failed write left.
QStringList Leftovers(const QString& dir, const QStringList& expected) {
    QStringList out;
    for (const QString& f : QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        if (!expected.contains(f)) out << f;
    return out;
}

}  // namespace

TEST(Faults, EveryWriterKeepsTheEarlierFile) {
    Store map;
    MapRecipe recipe;
    recipe.cells = 30;
    GenerateMap(recipe, map);
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    Surface surface(200, 100);
    gis::MapTransform transform;
    transform.wkt = QString(600, u'x');
    transform.scale = 1;
    Store imported = map;
    imported.Geo = gis::ToGeoRef(transform);
    IniFile ini;
    for (int i = 0; i < 100; ++i) ini.SetValue("s", QStringLiteral("key%1").arg(i), QString(20, u'v'));
    PictureCopy copy;
    copy.exists = true;
    copy.bytes = QByteArray(4096, 'p');

    const struct {
        const char* file;
        std::function<bool(const QString&)> write;
    } writers[] = {
        {"w.vlm", [&](const QString& p) { return WriteWorkFile(p, map, "0", nullptr); }},
        {"i.vlm", [&](const QString& p) { return usecase::SaveWork(imported, {p, QString()}, QString()).ok; }},
        {"t.json", [&](const QString& p) { return safesave::WriteFile(p, georef::ToJson(imported.Geo), nullptr); }},
        {"p.bmp", [&](const QString& p) { return WriteBitmapFile(picture, p, nullptr); }},
        {"s.bmp", [&](const QString& p) { return WriteSurfaceBitmap(surface, p, nullptr); }},
        {"c.tmp", [&](const QString& p) { return copy.WriteBack(p); }},
        {"v.ini", [&](const QString& p) { return ini.Save(p, nullptr); }},
        {"f.txt", [&](const QString& p) { return safesave::WriteFile(p, QByteArray(1000, 'n'), nullptr); }},
    };
    for (Fault fault : kFaults) {
        if (Unsupported(fault)) continue;
        for (const auto& w : writers) {
            SCOPED_TRACE(std::string(Name(fault)) + ", " + w.file);
            QTemporaryDir dir;
            const QString path = dir.filePath(QString::fromLatin1(w.file));
            QStringList files{QString::fromLatin1(w.file)};
            Put(path, "old");
            if (QByteArray(w.file) == "i.vlm") {
                files << "i.vlm.json";
                Put(georef::JsonPathFor(path), "old transform");
            }
            copy.stamp = {};
            bool wrote;
            {
                InProcess held(fault, dir.path());
                wrote = w.write(path);
            }
            EXPECT_FALSE(wrote);
            EXPECT_EQ(ReadAll(path), "old");
            if (files.size() > 1) {
                EXPECT_EQ(ReadAll(georef::JsonPathFor(path)), "old transform");
            }
            EXPECT_EQ(Leftovers(dir.path(), files), QStringList());
        }
    }
}

TEST(Faults, TheCommandLineFailsAndKeepsTheEarlierOutput) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    QTemporaryDir home;
    Store st;
    MapRecipe recipe;
    recipe.cells = 60;
    GenerateMap(recipe, st);
    const QString work = home.filePath("map.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, work));
    const QString boundaries = home.filePath("in.geojson");
    Put(boundaries,
        R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"NAME":"A"},)"
        R"("geometry":{"type":"Polygon","coordinates":[[[0,0],[4,0],[4,3],[0,3],[0,0]]]}}]})");

    // The outputs and the old files each run must leave as they were.
    const struct {
        QStringList args;
        QStringList kept;
    } runs[] = {
        {{"export", work, "-o", "out.geojson"}, {"out.geojson"}},
        {{"export", work, "-o", "out.shp"}, {"out.prj", "out.dbf", "out.shp", "out.shx"}},
        {{"export", work, "-o", "out.gpkg"}, {"out.gpkg"}},
        {{"export", work, "-o", "out.svg"}, {"out.svg"}},
        {{"export", work, "-o", "out.pdf"}, {"out.pdf"}},
        {{"export", work, "-o", "out.png"}, {"out.png"}},
        {{"import", boundaries, "-o", "in.vlm"}, {"in.vlm", "in.vlm.json"}},
    };
    for (Fault fault : kFaults) {
        if (Unsupported(fault)) continue;
        for (const auto& run : runs) {
            SCOPED_TRACE(std::string(Name(fault)) + ", " + run.args.join(' ').toStdString());
            QTemporaryDir dir;
            for (const QString& k : run.kept) Put(dir.filePath(k), "old " + k.toUtf8());
            QStringList args = run.args;
            args[3] = dir.filePath(args[3]);
            args << "--force";
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (fault == Fault::Rename) {
                env.insert("LD_PRELOAD", FAIL_RENAME_LIB);
                env.insert("VELMOT_FAIL_RENAME", "/" + run.kept.back());
            }
            p.setProcessEnvironment(env);
            if (fault == Fault::DiskFull)
                p.setChildProcessModifier([] {
                    ::signal(SIGXFSZ, SIG_IGN);
                    const rlimit room{kRoom, RLIM_INFINITY};
                    ::setrlimit(RLIMIT_FSIZE, &room);
                });
            if (fault == Fault::ReadOnly)
                QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            p.start(CliPath(), args);
            p.waitForFinished(120000);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            const QString err = QString::fromUtf8(p.readAllStandardError());
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
            EXPECT_FALSE(err.isEmpty());
            // Named as the system names it, not in a driver's words ("corrupt",
            // "Unterminated object", "disk I/O error").
            if (fault == Fault::DiskFull) {
                EXPECT_TRUE(err.contains(msg::Text(Msg::ReasonTooBig))) << err.toStdString();
            }
            for (const QString& k : run.kept) EXPECT_EQ(ReadAll(dir.filePath(k)), "old " + k.toUtf8()) << k.toStdString();
            EXPECT_EQ(Leftovers(dir.path(), run.kept), QStringList());
        }
    }
}

TEST(Faults, AFullDiskIsCalledOneWhateverTheLibrarySays) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    if (::geteuid() != 0) GTEST_SKIP() << "a small disk of its own needs the superuser";
    QTemporaryDir home, disk;
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", disk.path()}) != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount {
        QString at;
        ~Unmount() { QProcess::execute("umount", {at}); }
    } unmount{disk.path()};
    const QString world = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm");
    const QString full = msg::Text(Msg::ReasonDiskFull);
    // Room for the drivers to begin, not to finish: each gives up in its own
    // words (SQLite's "database or disk is full", a cut GeoJSON's parse error).
    for (const char* out : {"out.geojson", "out.shp", "out.gpkg", "out.svg", "out.png"}) {
        SCOPED_TRACE(out);
        Put(disk.filePath("filler"), QByteArray(150 << 10, 'x'));
        const CliRun r = Cli({"export", world, "-o", disk.filePath(out)});
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(full)) << r.err.toStdString();
        EXPECT_EQ(Leftovers(disk.path(), {"filler"}), QStringList());
        QFile::remove(disk.filePath("filler"));
    }
}
