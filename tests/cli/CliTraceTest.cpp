// velmot-cli trace as the person runs it: a JPEG scan to a work that
// composes, and pages that hold no line map refused with nothing written.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "trace/TraceSupport.h"
#include "support/CliRun.h"

using namespace ttest;

namespace {

class CliTrace : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    }
    QString Save(const QImage& img, const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(img.save(path, nullptr, 80));
        return path;
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(CliTrace, AJpegScanBecomesAWorkWhosePositionsAllClose) {
    const QString scan = Save(Grid(420, 320, 30, 25, 5, 4, 70, 2, Qt::DashDotLine), "scan.jpg");
    const QString out = dir.filePath("traced.vlm");
    const CliRun run = Cli({"trace", scan, "-o", out, "--positions", "--json"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject j = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(j["regions"].toInt(), 20);
    EXPECT_EQ(j["positions"].toInt(), 20);
    EXPECT_GE(j["chains"].toInt(), 31);  // at least the grid's own edges
    EXPECT_GT(j["points"].toInt(), j["chains"].toInt());
    EXPECT_GE(j["gap"].toInt(), 2);
    EXPECT_GT(j["threshold"].toInt(), 0);
    EXPECT_TRUE(j["doubtful"].isArray());
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("traced.bmp")));

    // The work opens with the scan under it and every position closes.
    const CliRun check = Cli({"check", out, "--json"});
    EXPECT_EQ(check.code, 0) << check.out.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(check.out.toUtf8()).object()["closed"].toInt(), 20);
    const CliRun info = Cli({"info", out, "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(info.out.toUtf8()).object()["width"].toInt(), 420);

    EXPECT_EQ(Cli({"trace", scan, "-o", out}).code, 2);  // exists: needs --force
    EXPECT_EQ(Cli({"trace", scan, "-o", out, "--force", "--gap", "5", "--simplify", "0"}).code, 0);
    for (const char* bad :
         {"--gap=x", "--gap=99", "--min-area=0", "--ink=1,2", "--ink=0,0,256", "--simplify=-1"})
        EXPECT_EQ(Cli({"trace", scan, "-o", dir.filePath("x.vlm"), QString::fromLatin1(bad)}).code,
                  2)
            << bad;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.vlm")));
}

TEST_F(CliTrace, PagesWithoutALineMapAreRefusedAndNothingIsWritten) {
    QImage blank(300, 200, QImage::Format_RGB32);
    blank.fill(qRgb(245, 242, 235));
    QImage black(300, 200, QImage::Format_RGB32);
    black.fill(qRgb(10, 10, 10));
    QImage photo(300, 200, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const int v = std::clamp(
                int(170 + 50 * std::sin(x / 17.0) * std::cos(y / 11.0)) + int(rng.bounded(70)), 0,
                255);
            photo.setPixel(x, y, qRgb(v, v * 3 / 4, v / 2));
        }
    QImage wash(300, 200, QImage::Format_RGB32);
    wash.fill(qRgb(250, 250, 250));
    {
        QPainter p(&wash);
        p.fillRect(20, 20, 130, 160, QColor(240, 170, 170));
        p.fillRect(150, 20, 130, 160, QColor(170, 210, 240));
    }
    const struct {
        QImage img;
        const char* name;
        const char* says;
    } pages[] = {{blank, "blank.png", "白紙"},
                 {black, "black.png", "インクです"},
                 {photo, "photo.png", "写真"},
                 {wash, "wash.png", "色で塗り分けた"}};
    for (const auto& page : pages) {
        const QString out = dir.filePath("out.vlm");
        const CliRun run = Cli({"trace", Save(page.img, page.name), "-o", out});
        EXPECT_EQ(run.code, 1) << page.name;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(page.says)))
            << page.name << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(page.name))) << page.name;
        EXPECT_FALSE(QFileInfo::exists(out)) << page.name;
    }
    // Beyond the surface budget: refused before any work, naming the way out.
    const QString big = Save(Grid(1600, 1000, 30, 25, 5, 4, 70, 2), "big.png");
    const CliRun run = Cli({"trace", big, "-o", dir.filePath("big.vlm"), "--max-memory", "1"});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains("--max-memory")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("big.vlm")));
}
