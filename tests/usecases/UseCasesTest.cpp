// The file use cases on their own, as the command-line tool calls them:
// paths in, a result with a message id and the files written out.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "usecases/FinishedMaps.h"
#include "usecases/WorkFiles.h"
#include "support/MapGenerator.h"

TEST(Messages, ArgumentsAreFilledInOnePass) {
    // A file name holding "%2" is shown as it is, not filled in again.
    EXPECT_EQ(msg::Format(Msg::MapNotWritten, {QStringLiteral("a%2b.idt"), QStringLiteral("x")}),
              QStringLiteral("a%2b.idt に書き込めませんでした。\nx"));
    EXPECT_EQ(msg::Format(Msg::FileExistsOverwrite), QStringLiteral("%1 が存在します。上書きOk?"));
}

TEST(UseCases, SaveWorkListsWhatItWroteAndSaysWhyNot) {
    QTemporaryDir dir;
    Store st;
    GenerateMap(MapRecipe{}, st);
    const WorkNames names = WorkFileNames(dir.filePath(QStringLiteral("map")));
    const usecase::Result ok = usecase::SaveWork(st, names, QString());
    ASSERT_TRUE(ok.ok);
    EXPECT_EQ(ok.written, QStringList{names.work});
    EXPECT_TRUE(ok.message.Empty());

    const usecase::Result no =
        usecase::SaveWork(st, WorkFileNames(dir.filePath(QStringLiteral("none/map"))), QString());
    EXPECT_FALSE(no.ok);
    EXPECT_EQ(no.message.id, Msg::WorkNotSaved);
    EXPECT_EQ(no.message.icon, MsgIcon::Error);
    EXPECT_TRUE(no.written.isEmpty());
}

TEST(UseCases, FinishedMapIsWrittenOnlyWhenEverythingChecks) {
    QTemporaryDir dir;
    Store st;
    GenerateMap(MapRecipe{}, st);
    st.LegendX = st.LegendY = -1;
    const QString path = dir.filePath(QStringLiteral("map.idt"));
    TitleFields f =
        usecase::FinishedMapFields(st, path, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 10)));

    EXPECT_EQ(usecase::WriteFinishedMap(st, path, f, st.MapTitle).message.id, Msg::LegendNotPlaced);
    st.LegendX = st.LegendY = 5;
    f.magnification = QStringLiteral("zero");
    const usecase::Result bad = usecase::WriteFinishedMap(st, path, f, st.MapTitle);
    EXPECT_EQ(bad.message.id, Msg::MapNotWrittenBecause);
    EXPECT_FALSE(QFileInfo::exists(path));

    f.magnification = QStringLiteral("1.0");
    f.title = QStringLiteral("新しい題");
    st.Modified = false;
    const usecase::Result good = usecase::WriteFinishedMap(st, path, f, st.MapTitle);
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.written, QStringList{path});
    EXPECT_TRUE(st.Modified);  // the title changed, and the work file keeps it

    // Read back; a name without extension means the .idt file.
    usecase::FinishedMapRead back = usecase::ReadFinishedMap(dir.filePath(QStringLiteral("map")));
    ASSERT_TRUE(back.result.ok);
    EXPECT_EQ(back.path, path);
    EXPECT_EQ(back.content.points.size(), size_t(st.PointLast + 1));
    EXPECT_EQ(usecase::ReadFinishedMap(dir.filePath(QStringLiteral("gone"))).result.message.id,
              Msg::MapFileMissing);
}
