// The work file and its bitmap are saved as a pair: a failure in either
// rename leaves both old files, and the message gives the system's reason.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cerrno>
#include <cstdio>

#include "base/SafeSave.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Fails the n-th rename (1-based) with err; the others go through.
struct FailingRename {
    FailingRename(int n, int err) {
        safesave::SetRename([n, err, calls = 0](const QString& from, const QString& to) mutable {
            if (++calls == n) return err;
            const bool ok = std::rename(QFile::encodeName(from).constData(),
                                        QFile::encodeName(to).constData()) == 0;
            return ok ? 0 : errno;
        });
    }
    ~FailingRename() { safesave::SetRename({}); }
};

void Picture(TestEditor& t, QRgb c) {
    QImage pic(3, 2, QImage::Format_RGB32);
    pic.fill(c);
    ASSERT_TRUE(WriteBitmapFile(pic, t.ed.temps.picture, nullptr));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
}

QStringList Leftovers(const QString& dir) {
    return QDir(dir).entryList({"*.velmot-*"}, QDir::Files | QDir::Hidden);
}

}  // namespace

TEST(PairedSave, EitherRenameFailingKeepsBothOldFiles) {
    for (int failing : {1, 2}) {
        SCOPED_TRACE(failing == 1 ? "bitmap rename fails" : "work file rename fails");
        TestEditor t;
        t.Chain({{10, 10}, {20, 20}});
        Picture(t, qRgb(255, 255, 255));
        t.ui.files = {t.Path("pair.vlm")};
        t.ed.files.SaveWorkClick();
        ASSERT_TRUE(t.ui.messages.empty()) << t.ui.LastText().toStdString();
        const QByteArray oldWork = ReadAll(t.Path("pair.vlm")),
                         oldBmp = ReadAll(t.Path("pair.bmp"));

        t.Chain({{30, 30}, {40, 40}});
        Picture(t, qRgb(255, 0, 0));
        EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
        {
            FailingRename fail(failing, ENOSPC);
            t.ui.files = {t.Path("pair.vlm")};
            t.ed.files.SaveWorkClick();
        }
        ASSERT_FALSE(t.ui.messages.empty());
        const QString said = t.ui.LastText();
        EXPECT_TRUE(said.startsWith(QStringLiteral("作業を保存できませんでした。")));
        EXPECT_TRUE(said.contains(QStringLiteral("ディスクの空き容量が足りません")))
            << said.toStdString();
        EXPECT_EQ(ReadAll(t.Path("pair.vlm")), oldWork);
        EXPECT_EQ(ReadAll(t.Path("pair.bmp")), oldBmp);
        EXPECT_TRUE(t.st().Modified);
        EXPECT_TRUE(Leftovers(t.dir->path()).isEmpty())
            << Leftovers(t.dir->path()).join(' ').toStdString();

        // Without the fault the same save replaces both.
        t.ui.messages.clear();
        t.ui.files = {t.Path("pair.vlm")};
        t.ed.files.SaveWorkClick();
        EXPECT_TRUE(t.ui.messages.size() == 2u && t.ui.messages.back().kind == ShownMessage::YesNo);
        EXPECT_NE(ReadAll(t.Path("pair.vlm")), oldWork);
        EXPECT_NE(ReadAll(t.Path("pair.bmp")), oldBmp);
        EXPECT_FALSE(t.st().Modified);
    }

    // A first save whose second rename fails leaves no file at all.
    TestEditor t;
    Picture(t, qRgb(255, 255, 255));
    {
        FailingRename fail(2, EACCES);
        t.ui.files = {t.Path("new.vlm")};
        t.ed.files.SaveWorkClick();
    }
    EXPECT_TRUE(t.ui.LastText().contains(QStringLiteral("アクセスが許可されていません")));
    EXPECT_FALSE(QFile::exists(t.Path("new.vlm")));
    EXPECT_FALSE(QFile::exists(t.Path("new.bmp")));
    EXPECT_TRUE(Leftovers(t.dir->path()).isEmpty());
}

TEST(PairedSave, StaleFilesOfASaveCutShortAreRemovedOnTheNextSave) {
    TestEditor t;
    auto make = [&](const QString& name, qint64 ageSeconds) {
        QFile f(t.Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                  QFileDevice::FileModificationTime));
    };
    const QString self = QString::number(QCoreApplication::applicationPid());
    make("a.vlm.velmot-" + self + "-Ab12Cd.tmp", 2 * 24 * 3600);  // a day old: stale
    make("a.bmp.velmot-" + self + "-Ab12Cd.old", 1200);           // this process is alive: kept
    make("a.vlm.velmot-" + self + "-Zz99Yy.tmp", 5);              // being written: kept
    make("a.vlm.backup", 2 * 24 * 3600);                          // the person's own
    make("a.vlm.velmot-notes.txt", 2 * 24 * 3600);
    // The only copy of an old file, which a failed save told the person to keep.
    make("c.vlm.velmot-999999-Qq11Ww.old", 2 * 24 * 3600);
    // A backup made just now of a file last changed days ago.
    make("d.vlm", 2 * 24 * 3600);
    ASSERT_EQ(::link(QFile::encodeName(t.Path("d.vlm")).constData(),
                     QFile::encodeName(t.Path("d.vlm.velmot-" + self + "-Rr22Tt.old")).constData()),
              0);
    t.ui.files = {t.Path("b.vlm")};
    t.ed.files.SaveWorkClick();
    ASSERT_TRUE(QFile::exists(t.Path("b.vlm")));
    EXPECT_EQ(Leftovers(t.dir->path()),
              (QStringList{"a.bmp.velmot-" + self + "-Ab12Cd.old",
                           "a.vlm.velmot-" + self + "-Zz99Yy.tmp", "a.vlm.velmot-notes.txt",
                           "c.vlm.velmot-999999-Qq11Ww.old", "d.vlm.velmot-" + self + "-Rr22Tt.old"}));
    EXPECT_TRUE(QFile::exists(t.Path("a.vlm.backup")));
}

TEST(PairedSave, SavingThroughALinkKeepsTheLink) {
    TestEditor t;
    t.Chain({{10, 10}, {20, 20}});
    QFile real(t.Path("real.vlm"));
    ASSERT_TRUE(real.open(QIODevice::WriteOnly));
    real.write("old");
    real.close();
    ASSERT_TRUE(QFile::link(t.Path("real.vlm"), t.Path("link.vlm")));
    t.ui.files = {t.Path("link.vlm")};
    t.ed.files.SaveWorkClick();
    EXPECT_TRUE(QFileInfo(t.Path("link.vlm")).isSymLink());
    EXPECT_TRUE(ReadAll(t.Path("real.vlm")).contains("10\r\n10\r\n20\r\n20\r\n"));
}
