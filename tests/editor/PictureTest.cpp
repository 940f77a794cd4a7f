#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "raster/Picture.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"

namespace {

QImage Filled(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QImage Stored(TestEditor& t) {
    return ReadBitmapFile(t.ed.temps.picture, nullptr);
}

// Puts a picture in place as if it had been loaded.
void GivePicture(TestEditor& t, const QImage& img) {
    ASSERT_TRUE(WriteBitmapFile(img, t.ed.temps.picture, nullptr));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
}

int Captioned(const FakeUi& ui, const QString& caption) {
    int n = 0;
    for (const auto& m : ui.messages) n += m.caption == caption;
    return n;
}

}  // namespace

TEST(PictureInversion, TrueColourAndPalette) {
    QImage rgb = Filled(2, 2, qRgb(10, 200, 30));
    InvertPicture(rgb, nullptr);
    EXPECT_EQ(rgb.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgb.pixel(1, 1), qRgb(245, 55, 225));

    // A 24-bit picture keeps its format.
    QImage packed = Filled(2, 1, qRgb(0, 0, 0)).convertToFormat(QImage::Format_RGB888);
    InvertPicture(packed, nullptr);
    EXPECT_EQ(packed.format(), QImage::Format_RGB888);
    EXPECT_EQ(packed.pixel(0, 0), qRgb(255, 255, 255));

    // A palette picture: the colours change, the indices stay.
    QImage pal(2, 1, QImage::Format_Indexed8);
    pal.setColorTable({qRgb(255, 0, 0), qRgb(0, 100, 0)});
    pal.setPixel(0, 0, 0);
    pal.setPixel(1, 0, 1);
    InvertPicture(pal, nullptr);
    EXPECT_EQ(pal.pixelIndex(0, 0), 0);
    EXPECT_EQ(pal.pixelIndex(1, 0), 1);
    EXPECT_EQ(pal.pixel(0, 0), qRgb(0, 255, 255));
    EXPECT_EQ(pal.pixel(1, 0), qRgb(255, 155, 255));
}

TEST(PictureInversion, ProgressStepsAboutTenTimes) {
    FakeUi ui;
    Progress p = ProgressOn(ui);
    QImage small = Filled(4, 3, qRgb(1, 2, 3));
    InvertPicture(small, &p);
    EXPECT_EQ(p.Position(), 30);  // under ten rows: a step on every row

    Progress q = ProgressOn(ui);
    QImage taller = Filled(4, 25, qRgb(1, 2, 3));
    InvertPicture(taller, &q);
    EXPECT_EQ(q.Position(), 90);  // rows 0, 3, ..., 24
}

TEST(PictureLoad, FromFileInvertedAndReducedToTheSurfaceColours) {
    TestEditor t;
    ASSERT_TRUE(WriteBitmapFile(Filled(5, 4, qRgb(10, 200, 30)), t.Path("in.bmp"), nullptr));
    t.ed.picture.BMPpasteClick();  // nothing on the clipboard: told, nothing changes
    EXPECT_EQ(Captioned(t.ui, QStringLiteral("下絵の貼り付け")), 1);
    EXPECT_FALSE(t.st().BasePicLoaded);

    EditMap(t.ed, [&](Store& s_) {
        s_.BasePicShown = false;
        s_.LegendX = 5;
    });
    t.ui.files = {t.Path("in.bmp")};
    t.ed.picture.LoadBMPClick();
    EXPECT_TRUE(t.ui.fileFilters.back().startsWith(QStringLiteral("画像ファイル|*.bmp;*.")));
    EXPECT_TRUE(t.ui.fileFilters.back().endsWith(QStringLiteral("|ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)|*.bmp")));
    // An empty point list: no question, and the legend stays.
    for (const auto& m : t.ui.messages) EXPECT_NE(m.kind, ShownMessage::YesNo);
    EXPECT_EQ(t.st().LegendX, 5);
    EXPECT_TRUE(t.st().BasePicLoaded);
    EXPECT_TRUE(t.st().BasePicShown);
    const QImage stored = Stored(t);
    ASSERT_EQ(stored.size(), QSize(5, 4));
    EXPECT_EQ(stored.pixel(4, 3), qRgb(255, 0, 255));  // (245, 55, 225) nearest
    EXPECT_EQ(t.ed.surf.Pixel(2, 2), Magenta);
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPmonotone));
    EXPECT_TRUE(t.ui.Enabled(Cmd::SpBmpExpand));
}

TEST(PictureLoad, TheQuestionAboutTracedData) {
    TestEditor t;
    ASSERT_TRUE(WriteBitmapFile(Filled(3, 3, qRgb(255, 255, 255)), t.Path("in.bmp"), nullptr));
    t.Chain({{10, 10}, {20, 20}});
    EditMap(t.ed, [&](Store& s_) { s_.LegendX = 7; });

    t.ui.files = {t.Path("in.bmp")};
    t.ui.answers = {false};
    t.ed.picture.LoadBMPClick();
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages[0].text, QStringLiteral("現在の境界線情報を消しますか？"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(t.st().PointLast, 3);
    EXPECT_EQ(t.st().LegendX, 7);
    EXPECT_TRUE(t.st().BasePicLoaded);

    t.ui.files = {t.Path("in.bmp")};
    t.ui.answers = {true};
    t.ed.picture.LoadBMPClick();
    EXPECT_EQ(t.st().PointLast, 0);
    EXPECT_EQ(t.st().LegendX, -1);
    EXPECT_TRUE(t.st().BasePicLoaded);
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPexpand));
}

TEST(PictureLoad, UnreadableOrOversizedFilesChangeNothing) {
    TestEditor t;
    t.Chain({{10, 10}, {20, 20}});
    {
        QFile f(t.Path("junk.bmp"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM not really a bitmap");
    }
    ASSERT_TRUE(Filled(32768, 1, qRgb(0, 0, 0)).save(t.Path("wide.bmp"), "BMP"));
    for (const char* name : {"junk.bmp", "wide.bmp", "missing.bmp"}) {
        SCOPED_TRACE(name);
        t.ui.messages.clear();
        t.ui.files = {t.Path(name)};
        t.ed.picture.LoadBMPClick();
        // Told, and never asked to give up the traced data for it.
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::Info);
        EXPECT_EQ(t.st().PointLast, 3);
        EXPECT_FALSE(t.st().BasePicLoaded);
    }
    t.ui.messages.clear();
    t.ui.clipboard = Filled(1, 32768, qRgb(0, 0, 0));
    t.ed.picture.BMPpasteClick();
    EXPECT_EQ(t.ui.messages.size(), 1u);
    EXPECT_FALSE(t.st().BasePicLoaded);
}

TEST(PicturePaste, KeepsItsOwnFormatAndColours) {
    TestEditor t;
    t.Chain({{1, 1}, {2, 2}});
    t.ui.clipboard = Filled(6, 2, qRgb(10, 200, 30));
    t.ed.picture.BMPpasteClick();
    // No question about the traced data, which stays.
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_EQ(t.st().PointLast, 3);
    EXPECT_TRUE(t.st().BasePicLoaded);
    EXPECT_EQ(Stored(t).pixel(5, 1), qRgb(245, 55, 225));
}

TEST(PictureCommands, HideShowClearAndTheMenu) {
    TestEditor t;
    t.ui.clipboard = Filled(4, 4, qRgb(0, 0, 0));
    t.ed.picture.BMPpasteClick();
    t.ed.states.CheckMainMenu();
    EXPECT_EQ(t.ui.captions[Cmd::BMPshowhide], QStringLiteral("下絵を隠す(&H)"));
    EXPECT_EQ(t.ed.surf.Pixel(1, 1), White);

    t.ed.picture.BMPshowhideClick();
    EXPECT_FALSE(t.st().BasePicShown);
    t.ed.states.CheckMainMenu();
    EXPECT_EQ(t.ui.captions[Cmd::BMPshowhide], QStringLiteral("下絵の再表示(&H)"));
    EXPECT_EQ(t.ed.surf.Pixel(1, 1), Black);
    t.ed.picture.BMPshowhideClick();
    EXPECT_EQ(t.ed.surf.Pixel(1, 1), White);

    t.ui.answers = {false};
    t.ed.picture.BMPclearClick();
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::OkCancel);
    EXPECT_EQ(t.ui.messages.back().text, QStringLiteral("下絵を作業データから消去します。"));
    EXPECT_TRUE(t.st().BasePicLoaded);

    t.ed.picture.BMPclearClick();
    EXPECT_FALSE(t.st().BasePicLoaded);
    EXPECT_EQ(t.ed.surf.Pixel(1, 1), Black);
    EXPECT_FALSE(t.ui.Enabled(Cmd::BMPmonotone));
    EXPECT_FALSE(t.ui.Enabled(Cmd::SpBmpMono));
    EXPECT_TRUE(t.ui.Enabled(Cmd::BMPclear));  // until the menu opens again
    t.ed.states.CheckMainMenu();
    EXPECT_FALSE(t.ui.Enabled(Cmd::BMPclear));
    EXPECT_FALSE(t.ui.Enabled(Cmd::BMPshowhide));

    // Without a picture the processing commands do nothing, and ask nothing.
    t.ui.color = qRgb(255, 0, 0);
    const size_t shown = t.ui.messages.size();
    t.ed.picture.BMPmonotoneClick();
    t.ed.picture.BMPexpandClick();
    EXPECT_EQ(t.ui.messages.size(), shown);
    EXPECT_EQ(t.ed.picture.LastMonotoneColour, 0xFF000000u);
}

TEST(PictureMonotone, RecoloursEveryInkPixel) {
    TestEditor t;
    QImage img = Filled(3, 1, qRgb(0, 0, 0));
    img.setPixel(1, 0, qRgb(1, 1, 1));
    img.setPixel(2, 0, qRgb(200, 10, 10));
    GivePicture(t, img);
    EditMap(t.ed, [&](Store& s_) { s_.BasePicShown = false; });

    t.ui.color = std::nullopt;  // cancelled: nothing changes
    t.ed.picture.BMPmonotoneClick();
    EXPECT_EQ(Stored(t).pixel(1, 0), qRgb(1, 1, 1));

    t.ui.color = qRgb(0, 255, 0);
    t.ed.picture.BMPmonotoneClick();
    const QImage a = Stored(t);
    EXPECT_EQ(a.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(a.pixel(2, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(t.st().BasePicShown);
    EXPECT_EQ(t.ed.picture.LastMonotoneColour, qRgb(0, 255, 0));

    // Black ink makes the picture vanish into the background.
    t.ui.color = qRgb(0, 0, 0);
    t.ed.picture.BMPmonotoneClick();
    const QImage b = Stored(t);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.pixel(x, 0), qRgb(0, 0, 0));
}

TEST(PictureMonotone, PalettePicturesTakeTheNearestPaletteColour) {
    QImage pal(3, 1, QImage::Format_Indexed8);
    pal.setColorTable({qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(250, 0, 0)});
    for (int x = 0; x < 3; ++x) pal.setPixel(x, 0, uint(x));
    MonotonePicture(pal, qRgb(255, 20, 20), nullptr);
    EXPECT_EQ(pal.pixelIndex(0, 0), 0);
    EXPECT_EQ(pal.pixelIndex(1, 0), 2);
    EXPECT_EQ(pal.pixelIndex(2, 0), 2);
}

TEST(PictureExpand, LatticeOfTheSourcePixels) {
    TestEditor t;
    GivePicture(t, Filled(3, 2, qRgb(255, 255, 255)));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicShown = false; });
    t.ed.picture.BMPexpandClick();
    const QImage big = Stored(t);
    ASSERT_EQ(big.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(big.pixel(x, y), (x % 2 && y % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                << x << "," << y;
    EXPECT_TRUE(t.st().BasePicShown);
    EXPECT_EQ(t.st().MapWidth, 6);

    // A doubling beyond the coordinate range is refused and changes nothing.
    GivePicture(t, Filled(16384, 1, qRgb(255, 255, 255)));
    t.ui.messages.clear();
    t.ed.picture.BMPexpandClick();
    EXPECT_EQ(Captioned(t.ui, QStringLiteral("下絵の拡大")), 1);
    EXPECT_EQ(Stored(t).size(), QSize(16384, 1));
}
