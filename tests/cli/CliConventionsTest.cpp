// What every velmot-cli command shares: help, usage errors, exit codes, never
// overwriting without --force, JSON summaries and the info command.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "support/CliRun.h"
#include "support/MapGenerator.h"

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject Json(const CliRun& r) {
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

class CliConventions : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
        MapRecipe recipe;
        recipe.cells = 30;
        Store st;
        info = GenerateMap(recipe, st);
        work = dir.filePath("map.vlm");
        ASSERT_TRUE(WriteWorkFileFor(st, work));
    }
    QTemporaryDir dir;
    GeneratedMap info;
    QString work;
};

}  // namespace

TEST_F(CliConventions, HelpAndUsageErrorsForEveryCommand) {
    for (const char* c :
         {"compose", "check", "read-idt", "info", "import", "export", "trace", "clean"}) {
        const QString command = QString::fromLatin1(c);
        const CliRun help = Cli({command, "--help"});
        EXPECT_EQ(help.code, 0) << c;
        EXPECT_TRUE(help.out.contains("velmot-cli " + command)) << help.out.toStdString();
        EXPECT_TRUE(help.err.isEmpty()) << c;

        const CliRun bad = Cli({command, work, "--no-such-option"});
        EXPECT_EQ(bad.code, 2) << c;
        EXPECT_TRUE(bad.out.isEmpty()) << c;
        EXPECT_TRUE(bad.err.contains("no-such-option")) << bad.err.toStdString();

        EXPECT_EQ(Cli({command}).code, 2) << c << ": no input";
        EXPECT_EQ(Cli({command, dir.filePath("missing"), "-o", dir.filePath("x.vlm")}).code, 2)
            << c << ": missing input";
    }
    EXPECT_EQ(Cli({}).code, 2);
    EXPECT_EQ(Cli({"no-such-command"}).code, 2);
    const CliRun top = Cli({"--help"});
    EXPECT_EQ(top.code, 0);
    EXPECT_TRUE(top.out.contains("info")) << top.out.toStdString();
    EXPECT_EQ(Cli({"--version"}).code, 0);

    QFile empty(dir.filePath("empty.idt"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(Cli({"read-idt", empty.fileName(), "-o", dir.filePath("e.vlm")}).code, 2);
    EXPECT_EQ(Cli({"info", empty.fileName()}).code, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("e.vlm")));
}

TEST_F(CliConventions, NothingExistingIsOverwrittenWithoutForce) {
    const QByteArray original = Bytes(work);
    // A name without an extension gets ".vlm", and success is reported so.
    const CliRun first = Cli({"compose", work, "-o", dir.filePath("out")});
    ASSERT_EQ(first.code, 0);
    const QString out = dir.filePath("out.vlm");
    EXPECT_TRUE(first.out.contains(QStringLiteral("wrote %1").arg(out))) << first.out.toStdString();
    ASSERT_TRUE(QFileInfo::exists(out));
    QFile::resize(out, 10);

    const CliRun again = Cli({"compose", work, "-o", out});
    EXPECT_EQ(again.code, 2);
    EXPECT_TRUE(again.err.contains("--force")) << again.err.toStdString();
    EXPECT_EQ(Bytes(out).size(), 10);
    EXPECT_EQ(Cli({"compose", work, "-o", work}).code, 2);
    EXPECT_EQ(Cli({"compose", work, "--idt", work}).code, 2);
    EXPECT_EQ(Bytes(work), original);

    EXPECT_EQ(Cli({"compose", work, "-o", out, "--force"}).code, 0);
    EXPECT_GT(Bytes(out).size(), 10);
    const QString idt = dir.filePath("map.idt");
    ASSERT_EQ(Cli({"compose", work, "--idt", dir.filePath("map")}).code, 0);  // the same for .idt
    EXPECT_EQ(Cli({"read-idt", idt, "-o", out}).code, 2);
    EXPECT_EQ(Cli({"read-idt", idt, "-o", out, "--force"}).code, 0);
}

TEST_F(CliConventions, SummariesAgreeWithTheMap) {
    const CliRun before = Cli({"info", work, "--json"});
    ASSERT_EQ(before.code, 0) << before.err.toStdString();
    QJsonObject j = Json(before);
    EXPECT_EQ(j["areas"].toInt(), info.areas);
    EXPECT_EQ(j["positions"].toInt(), info.positions);
    EXPECT_FALSE(j["composed"].toBool());

    const QString out = dir.filePath("out.vlm"), idt = dir.filePath("out.idt");
    const CliRun c = Cli({"compose", work, "-o", out, "--idt", idt, "--json"});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    j = Json(c);
    EXPECT_TRUE(j["composed"].toBool());
    EXPECT_EQ(j["areas"].toInt(), info.areas);
    EXPECT_EQ(j["outlines"].toInt(), info.positions);
    const int records = j["records"].toInt();

    for (const QString& f : {out, idt}) {
        j = Json(Cli({"info", f, "--json"}));
        EXPECT_TRUE(j["composed"].toBool()) << f.toStdString();
        EXPECT_EQ(j["areas"].toInt(), info.areas);
        EXPECT_EQ(j["positions"].toInt(), info.positions);
        EXPECT_EQ(j["points"].toInt(), records);
        EXPECT_GT(j["width"].toInt(), 0);
    }
    const CliRun r = Cli({"read-idt", idt, "-o", dir.filePath("back.vlm"), "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(Json(r)["areas"].toInt(), info.areas);
}

TEST_F(CliConventions, CleanMendsAGapSaysWhereAndLeavesTheInput) {
    // Two rooms whose wall stops 2 px above the floor.
    Store st;
    for (auto [x, y] : {std::pair{10, 10}, {60, 10}, {110, 10}, {110, 60}, {10, 60}, {10, 10}})
        st.AppendPoint(int16_t(x), int16_t(y));
    st.AppendPoint(0, 0);
    for (auto [x, y] : {std::pair{60, 10}, {60, 58}}) st.AppendPoint(int16_t(x), int16_t(y));
    st.AppendPoint(0, 0);
    st.AreaCount = 2;
    st.AreaPos(0, 1) = Rec{35, 35};
    st.AreaPos(0, 2) = Rec{85, 35};
    const QString gap = dir.filePath("gap.vlm"), out = dir.filePath("mended.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, gap));
    const QByteArray original = Bytes(gap);
    EXPECT_EQ(Cli({"check", gap}).code, 1);
    const CliRun r = Cli({"clean", gap, "-o", out, "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject j = Json(r);
    EXPECT_EQ(j["repaired"].toInt(), 1);
    const QJsonObject first = j["repairs"].toArray()[0].toObject();
    EXPECT_EQ(first["kind"].toString(), QStringLiteral("gap"));
    EXPECT_EQ(first["place"].toArray(), (QJsonArray{60, 60}));
    EXPECT_EQ(Cli({"check", out}).code, 0);
    EXPECT_EQ(Bytes(gap), original);
    EXPECT_EQ(Cli({"clean", gap, "-o", out}).code, 2);  // exists: needs --force
    EXPECT_EQ(Cli({"clean", gap, "-o", out, "--force", "--snap", "-1"}).code, 2);
}

TEST_F(CliConventions, FailuresNameTheirCauseAndJsonSaysThemToo) {
    const CliRun unknown = Cli({"frobnicate", work, "-o", dir.filePath("x.vlm")});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.contains("'frobnicate'")) << unknown.err.toStdString();

    // The form is right, the time impossible: bad usage, nothing written.
    const CliRun time = Cli({"compose", work, "--idt", dir.filePath("m.idt"), "--time",
                             "2024/13/45 25:61:00"});
    EXPECT_EQ(time.code, 2) << time.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("m.idt")));

    // A pipe nobody writes to is refused at once rather than waited on.
    const QString fifo = dir.filePath("pipe.geojson");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const CliRun pipe = Cli({"import", fifo, "-o", dir.filePath("p.vlm"), "--json"});
    EXPECT_EQ(pipe.code, 2);
    EXPECT_FALSE(Json(pipe)["error"].toString().isEmpty()) << pipe.out.toStdString();

    const CliRun unwritable =
        Cli({"export", work, "-o", dir.filePath("no/such/folder/x.geojson"), "--json"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_FALSE(Json(unwritable)["error"].toString().isEmpty()) << unwritable.out.toStdString();
}

TEST_F(CliConventions, TheHelpsExamplesRunAsWritten) {
    for (const char* f : {"sample.vlm", "sample.bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/") + f,
                                dir.filePath(QString::fromLatin1(f))));
    const QStringList help = Cli({QStringLiteral("--help")}).out.split(u'\n');
    int run = 0;
    for (const QString& line : help) {
        if (!line.startsWith(QStringLiteral("  velmot-cli "))) continue;
        QStringList args = QProcess::splitCommand(line.trimmed());
        args.removeFirst();
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(CliPath(), args);
        ASSERT_TRUE(p.waitForFinished(120000)) << line.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << line.toStdString() << "\n"
                                   << p.readAllStandardError().toStdString();
        ++run;
    }
    EXPECT_GE(run, 5);
}
