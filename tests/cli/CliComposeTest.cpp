// velmot-cli compose and check, run as the person runs them: exit codes,
// what is written and what is printed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include "compose/ComposeSupport.h"
#include "usecases/WorkFiles.h"
#include "formats/WorkFormat.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"

namespace {

struct CliRun {
    int code = -1;
    QString out, err;
};

QString CliPath() {
    // The tool is built beside the test programs.
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const QString dir =
        ec ? QStringLiteral(".") : QString::fromStdString(self.parent_path().string());
    return dir + QStringLiteral("/velmot-cli");
}

CliRun Cli(const QStringList& args) {
    QProcess p;
    p.start(CliPath(), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class CliCompose : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    }
    QString Map(const char* name, MapRecipe recipe) {
        Store st;
        info = GenerateMap(recipe, st);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WriteWorkFileFor(st, path));
        return path;
    }
    // map.vlm with a white under-drawing a little larger than the map;
    // returns the picture's size.
    QSize MapWithUnderDrawing(const MapRecipe& recipe) {
        Store st;
        GenerateMap(recipe, st);
        QImage pic(st.MapWidth + 37, st.MapHeight + 11, QImage::Format_RGB32);
        pic.fill(Qt::white);
        const QString picFile = dir.filePath("pic.tmp");
        EXPECT_TRUE(WriteBitmapFile(pic, picFile, nullptr));
        st.BasePicLoaded = true;
        EXPECT_TRUE(usecase::SaveWork(st, WorkFileNames(dir.filePath("map.vlm")), picFile).ok);
        return pic.size();
    }
    QTemporaryDir dir;
    GeneratedMap info;
};

}  // namespace

TEST_F(CliCompose, WritesTheComposedWorkFileAndTheFinishedMap) {
    MapRecipe recipe;
    recipe.cells = 80;
    recipe.kinds = true;
    const QString in = Map("map.vlm", recipe);
    const QString out = dir.filePath("out.vlm"), idt = dir.filePath("out.idt");
    const CliRun r = Cli({"compose", in, "-o", out, "--idt", idt, "--title", "試験の地図", "--time",
                          "2024/02/29 13:05:09", "--resolution", "1200,900", "--remark", "一行目"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("composed map.vlm: %1 areas, %2 outlines")
                                     .arg(info.areas)
                                     .arg(info.positions)))
        << r.out.toStdString();

    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(out, d, &error)) << error.toStdString();
    EXPECT_TRUE(d.completed);
    EXPECT_EQ(int(ctest::Chains(d.points).size()), info.positions);

    QFile f(idt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(400);
    EXPECT_TRUE(head.startsWith(
        QByteArray::fromStdString(sjis::FromUnicode(QStringLiteral("試験の地図")))));
    EXPECT_TRUE(head.contains("@Resolution=1200,900"));
}

TEST_F(CliCompose, AFailureIsReportedByNameAndNothingIsWritten) {
    MapRecipe recipe;
    recipe.cells = 80;
    recipe.damage = MapRecipe::Gap;
    const QString in = Map("gap.vlm", recipe);
    const QString out = dir.filePath("out.vlm");
    const CliRun r = Cli({"compose", in, "-o", out});
    EXPECT_EQ(r.code, 1);
    // The gap joins two areas' regions: both are named.
    EXPECT_TRUE(r.err.contains(QStringLiteral("赤の区域(区域")) &&
                r.err.contains(QStringLiteral("が同じ領域にあります。")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));

    const CliRun c = Cli({"check", in, "--json"});
    EXPECT_EQ(c.code, 1);
    const QJsonObject doc = QJsonDocument::fromJson(c.out.toUtf8()).object();
    EXPECT_EQ(doc["positions"].toInt(), info.positions);
    EXPECT_GE(doc["failed"].toInt(), 1);
    // Each failing position names the other one of its region, and the
    // first of them is the one compose stops at, with the same spot.
    int shared = 0;
    QJsonObject first;
    for (const QJsonValue& v : doc["entries"].toArray()) {
        const QJsonObject e = v.toObject();
        if (e["outcome"].toString() == QLatin1String("closed")) continue;
        EXPECT_EQ(e["outcome"].toString(), QLatin1String("not-closed"));
        EXPECT_EQ(e["reason"].toString(), QLatin1String("shared-region"));
        EXPECT_EQ(e["place"], e["other"].toObject()["position"]);
        if (shared++ == 0) first = e;
    }
    EXPECT_EQ(shared, doc["failed"].toInt());
    const QJsonArray pos = first["position"].toArray(), place = first["place"].toArray();
    EXPECT_TRUE(r.err.contains(QStringLiteral("velmot-cli: 区域%1(%2)の位置0 (%3,%4): "
                                              "shared-region (%5,%6)")
                                   .arg(first["area"].toInt())
                                   .arg(first["name"].toString())
                                   .arg(pos[0].toInt())
                                   .arg(pos[1].toInt())
                                   .arg(place[0].toInt())
                                   .arg(place[1].toInt())))
        << r.err.toStdString();
}

// A work without a legend (a traced one) gets its finished map once the
// legend is placed on the command line.
TEST_F(CliCompose, TheLegendCanBePlacedForTheFinishedMap) {
    Store st;
    GenerateMap(MapRecipe{}, st);
    st.LegendX = st.LegendY = -1;
    const QString in = dir.filePath("map.vlm");
    ASSERT_TRUE(WriteWorkFileFor(st, in));
    const QString out = dir.filePath("out.vlm"), idt = dir.filePath("out.idt");
    const CliRun none = Cli({"compose", in, "--idt", idt});
    EXPECT_EQ(none.code, 1);
    EXPECT_FALSE(QFileInfo::exists(idt));
    EXPECT_EQ(Cli({"compose", in, "--idt", idt, "--legend", "12"}).code, 2);
    EXPECT_EQ(Cli({"compose", in, "--idt", idt, "--legend", "-1,5"}).code, 2);
    const CliRun placed = Cli({"compose", in, "-o", out, "--idt", idt, "--legend", "12, 34"});
    ASSERT_EQ(placed.code, 0) << placed.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(idt));
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(out, d, &error)) << error.toStdString();
    EXPECT_EQ(d.legendX, 12);
    EXPECT_EQ(d.legendY, 34);
}

TEST_F(CliCompose, BadUsageAndUnreadableInputExitWithTwo) {
    const QString in = Map("map.vlm", MapRecipe{});
    EXPECT_EQ(Cli({"compose", in}).code, 2);        // no output named
    EXPECT_EQ(Cli({"compose", in, "-o"}).code, 2);  // missing value
    EXPECT_EQ(Cli({"compose", in, "-o", "x.vlm", "--title", "t"}).code,
              2);  // --title without --idt
    EXPECT_EQ(Cli({"compose", in, "--idt", "x.idt", "--time", "yesterday"}).code, 2);
    EXPECT_EQ(Cli({"compose", in, "--idt", "x.idt", "--resolution", "12x34"}).code, 2);
    EXPECT_EQ(Cli({"compose", dir.filePath("missing.vlm"), "-o", dir.filePath("x.vlm")}).code, 2);
    QFile junk(dir.filePath("junk.vlm"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("title\r\nnot a number\r\n");
    junk.close();
    const CliRun bad = Cli({"check", junk.fileName()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("作業読込: 作業ファイルを読み込めません。")))
        << bad.err.toStdString();
    EXPECT_EQ(Cli({"check", in}).code, 0);
}

TEST_F(CliCompose, AWorkWithAnUnderDrawingComposesAsTheWindowDoes) {
    // Drawing the under-drawing makes its size the map extent, which the
    // composed work file records.
    MapRecipe recipe;
    recipe.cells = 30;
    const QSize picSize = MapWithUnderDrawing(recipe);

    ASSERT_TRUE(QDir(dir.path()).mkdir("cli") && QDir(dir.path()).mkdir("window"));
    const CliRun r = Cli({"compose", dir.filePath("map.vlm"), "-o", dir.filePath("cli/out.vlm")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    TestEditor t;
    ASSERT_TRUE(t.ed.files.LoadWorkFile(dir.filePath("map.vlm")));
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed);
    ASSERT_TRUE(
        usecase::SaveWork(t.st(), WorkFileNames(dir.filePath("window/out.vlm")), t.ed.temps.picture)
            .ok);
    auto bytes = [&](const char* name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(bytes("cli/out.vlm"), bytes("window/out.vlm"));
    EXPECT_EQ(bytes("cli/out.bmp"), bytes("window/out.bmp"));
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(dir.filePath("cli/out.vlm"), d, &error)) << error.toStdString();
    EXPECT_EQ(QSize(d.mapWidth, d.mapHeight), picSize);
}

TEST_F(CliCompose, CheckOnAWorkWithAnUnderDrawingFindsWhatTheWindowFinds) {
    // The tool loads and paints the work without an editor; the picture's
    // grey surround makes the check trace on a copy of the painted surface,
    // and the failures must still be the window's.
    MapRecipe recipe;
    recipe.cells = 40;
    recipe.damage = MapRecipe::Gap;
    MapWithUnderDrawing(recipe);

    const CliRun c = Cli({"check", dir.filePath("map.vlm"), "--json"});
    ASSERT_EQ(c.code, 1) << c.err.toStdString();
    std::vector<std::pair<int, int>> cli;
    for (const QJsonValue& v : QJsonDocument::fromJson(c.out.toUtf8())["entries"].toArray())
        if (v["outcome"].toString() != QLatin1String("closed"))
            cli.emplace_back(v["area"].toInt(), v["slot"].toInt());

    TestEditor t;
    ASSERT_TRUE(t.ed.files.LoadWorkFile(dir.filePath("map.vlm")));
    t.ed.Command(Cmd::CheckAreas);
    std::vector<std::pair<int, int>> window;
    for (const CheckRow& r : t.ui.checkRows) window.emplace_back(r.area, r.slot);
    EXPECT_FALSE(window.empty());
    EXPECT_EQ(cli, window);
}

TEST_F(CliCompose, AnUnderDrawingThatCannotBeReadKeepsItsLinkAndIsNamed) {
    MapRecipe recipe;
    recipe.cells = 20;
    MapWithUnderDrawing(recipe);
    const QString work = dir.filePath("map.vlm");
    {
        QFile broken(dir.filePath("map.bmp"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("BM not a bitmap");
    }
    for (const QStringList& args : {QStringList{"check", work}, QStringList{"compose", work, "-o", work, "--force"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("下絵の指定 (map.bmp) はそのまま残します"))) << r.err.toStdString();
    }
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(work, d, &error)) << error.toStdString();
    EXPECT_TRUE(d.completed);
    EXPECT_EQ(d.picture, "map.bmp");
}
