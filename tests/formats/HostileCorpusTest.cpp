// The hostile inputs kept in fuzz/corpus (which the fuzzing runs replay under
// the sanitizers) read through the editor as the person would meet them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "formats/AreaText.h"
#include "formats/WorkFormat.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"
#include "raster/SurfaceBudget.h"

namespace {
QString Corpus(const QString& target) {
    return QStringLiteral(VELMOT_SOURCE_DIR "/fuzz/corpus/") + target;
}
}  // namespace

TEST(HostileCorpus, RefusedWithAMessageOrReadAsTheyAre) {
    // Bitmaps: every one is refused before decoding, naming the file.
    const QDir bitmaps(Corpus("fuzz_bitmap"));
    const QStringList bmps = bitmaps.entryList({"*.bmp"});
    ASSERT_GE(bmps.size(), 3);
    for (const QString& b : bmps) {
        QString why;
        EXPECT_TRUE(ReadBitmapFile(bitmaps.filePath(b), &why).isNull()) << b.toStdString();
        EXPECT_TRUE(why.contains(b)) << why.toStdString();
        EXPECT_FALSE(why.contains(QStringLiteral("大きさが 0"))) << why.toStdString();
    }

    // Finished maps: a cut-off record is refused; a point first and last is
    // read with both its points.
    TestEditor t;
    t.Chain({{10, 10}, {20, 20}});
    EXPECT_FALSE(t.ed.finishedMaps.ReadFinishedMap(Corpus("fuzz_idt/cut-off-last-record.idt")));
    EXPECT_EQ(t.st().PointLast, 3);
    ASSERT_TRUE(t.ed.finishedMaps.ReadFinishedMap(Corpus("fuzz_idt/point-first-and-last.idt")));
    EXPECT_EQ(t.Points(), (std::vector<Rec>{{0, 0}, {256, 5}, {10, 10}, {0, 0}}));

    // A tiny work file with a point at (32767, 32767): refused where nobody
    // can be asked, since its surface would take a gigabyte.
    const SurfaceBudget saved = CurrentSurfaceBudget();
    CurrentSurfaceBudget().ask = false;
    TestEditor w;
    EXPECT_FALSE(w.ed.files.LoadWorkFile(Corpus("fuzz_workfile/point-at-32767.vlm")));
    CurrentSurfaceBudget() = saved;
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_TRUE(w.ui.messages[0].text.contains("32768 x 32768"));

    // Area names: a lone CR before the equals sign at the end is no area.
    QFile names(Corpus("fuzz_areanames/cr-only-name-at-end.txt"));
    ASSERT_TRUE(names.open(QIODevice::ReadOnly));
    EXPECT_EQ(areas::ParseAreaNameBytes(names.readAll().toStdString()).areas.size(), 1u);
}
