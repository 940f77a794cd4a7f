// The dialogs as widgets: what they show, what they hand back, where they
// open; and the small translations between the editor's and Qt's terms.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "AppFixture.h"
#include "app/Artwork.h"
#include "app/Dialogs.h"
#include "app/FileFilter.h"
#include "app/GisMenu.h"
#include "app/KeyMap.h"
#include "app/Placement.h"

namespace {
QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Runs f on the next turn of the event loop, i.e. inside the dialog's exec().
template <class F>
void WhileOpen(F f) {
    QTimer::singleShot(0, f);
}
}  // namespace

TEST(FileFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter(S("作業ﾌｧｲﾙ(*.vlm)|*.vlm")), S("作業ﾌｧｲﾙ(*.vlm)"));
    EXPECT_EQ(QtFileFilter(S("作業ﾌｧｲﾙ(*.vlm)|*.vlm|IDT ﾌｧｲﾙ(*.idt)|*.idt")),
              S("作業ﾌｧｲﾙ(*.vlm);;IDT ﾌｧｲﾙ(*.idt)"));
    // A description that does not name its patterns gets them, in Qt's form.
    EXPECT_EQ(QtFileFilter(S("ビットマップ|*.bmp;*.dib")), S("ビットマップ (*.bmp *.dib)"));
    EXPECT_EQ(QtFileFilter(S("Bitmap(*.bmp)|*.bmp;*.dib")), S("Bitmap(*.bmp) (*.bmp *.dib)"));
    // A pair without patterns matches everything rather than nothing.
    EXPECT_EQ(QtFileFilter(S("全て")), S("全て (*)"));
    EXPECT_EQ(DialogSuffix(".vlm"), "vlm");
    EXPECT_EQ(DialogSuffix("idt"), "idt");
    EXPECT_EQ(DialogSuffix(""), "");
}

TEST(KeyMap, QtKeysBecomeVirtualKeys) {
    EXPECT_EQ(VirtualKey(Qt::Key_Return), vk::Return);
    EXPECT_EQ(VirtualKey(Qt::Key_Enter), vk::Return);
    EXPECT_EQ(VirtualKey(Qt::Key_Space), vk::Space);
    EXPECT_EQ(VirtualKey(Qt::Key_Left), vk::Left);
    EXPECT_EQ(VirtualKey(Qt::Key_Up), vk::Up);
    EXPECT_EQ(VirtualKey(Qt::Key_Right), vk::Right);
    EXPECT_EQ(VirtualKey(Qt::Key_Down), vk::Down);
    EXPECT_EQ(VirtualKey(Qt::Key_A), vk::A);
    EXPECT_EQ(VirtualKey(Qt::Key_Z), vk::Z);
    EXPECT_EQ(VirtualKey(Qt::Key_F1), 0);
}

TEST(Cursors, DrawnToTheirHotSpots) {
    using SC = SurfaceCursor;
    const std::pair<SC, QPoint> hot[] = {{SC::CrossLine, {15, 15}}, {SC::CrossEdit, {15, 15}},
                                         {SC::CrossKind, {15, 15}}, {SC::IndexPosition, {0, 0}},
                                         {SC::Cutter, {8, 29}},     {SC::PickUp, {0, 0}}};
    for (auto [c, p] : hot) {
        const QCursor cur = SurfaceCursorShape(c);
        EXPECT_EQ(cur.hotSpot(), p) << int(c);
        EXPECT_EQ(cur.pixmap().size(), QSize(32, 32)) << int(c);
    }
    EXPECT_EQ(SurfaceCursorShape(SC::Arrow).shape(), Qt::ArrowCursor);
    // The cross hairs leave their centre open; the arms are drawn.
    for (SC c : {SC::CrossLine, SC::CrossEdit, SC::CrossKind}) {
        const QImage img = SurfaceCursorPixmap(c).toImage();
        EXPECT_EQ(qAlpha(img.pixel(15, 15)), 0) << int(c);
    }
    EXPECT_EQ(SurfaceCursorPixmap(SC::CrossLine).toImage().pixel(15, 5), qRgb(0, 0, 0));
    EXPECT_EQ(SurfaceCursorPixmap(SC::CrossEdit).toImage().pixel(8, 8), qRgb(0, 0, 0));
    // The knife's tip is at its hot spot.
    EXPECT_NE(qAlpha(SurfaceCursorPixmap(SC::Cutter).toImage().pixel(8, 29)), 0);
}

TEST_F(AppTest, AreaNameEditorHandsBackTheTextAndWhetherItChanged) {
    ZoneForm* zone = app->ui.Zone();
    bool changed = true;
    WhileOpen([zone] {
        EXPECT_EQ(zone->Memo()->toPlainText(), S("青葉町 = 120,85\n北原村"));
        EXPECT_EQ(zone->Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
        zone->accept();
    });
    QString back = app->ui.EditAreaNames(S("青葉町 = 120,85\r\n北原村\r\n"), &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(back, S("青葉町 = 120,85\r\n北原村"));

    // Typing, then closing with the close box: taken over like the button.
    WhileOpen([zone] {
        zone->Memo()->moveCursor(QTextCursor::End);
        QTest::keyClick(zone->Memo(), Qt::Key_Return);
        QTest::keyClicks(zone->Memo(), "X");
        zone->close();
    });
    back = app->ui.EditAreaNames(S("A\r\nB"), &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(back, S("A\r\nB\r\nX"));

    // Typing, then Escape: nothing taken over.
    WhileOpen([zone] {
        QTest::keyClicks(zone->Memo(), "Y");
        QTest::keyClick(zone->Memo(), Qt::Key_Escape);
    });
    app->ui.EditAreaNames(S("A\r\nB"), &changed);
    EXPECT_FALSE(changed);
}

TEST_F(AppTest, SavingTakesTheChosenTypesExtensionAndPrintingTheWorksName) {
    WhileOpen([] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->selectNameFilter(S("SVG(*.svg)"));
        dlg->selectFile(S("town"));
        QMetaObject::invokeMethod(dlg, "accept");
    });
    const QString out = app->ui.ChooseSaveFile(S("GeoJSON(*.geojson)|*.geojson|SVG(*.svg)|*.svg"),
                                               dir.filePath(S("x")), S("geojson"));
    EXPECT_EQ(QFileInfo(out).fileName(), S("town.svg"));

    Store st;
    st.WorkFileName = dir.filePath(S("西山村.vlm"));
    EXPECT_EQ(gis_menu::PrintName(st), S("西山村"));
}

TEST_F(AppTest, TitleDialogShowsAndReturnsEveryFieldInTabOrder) {
    TitleForm* form = app->ui.Title();
    TitleFields f;
    f.title = S("テスト");
    f.hour = "9", f.minute = "5", f.second = "0";
    f.year = "2026", f.month = "12", f.day = "7";
    f.maxX = 700, f.maxY = 300;
    f.resX = "1024", f.resY = "768";
    f.remarks = QStringList{S("一行目"), S("二行目")};
    WhileOpen([form] {
        EXPECT_EQ(form->Edit(1)->text(), S("テスト"));
        EXPECT_EQ(form->LabelX()->text(), "700");
        EXPECT_EQ(form->LabelY()->text(), "300");
        EXPECT_EQ(form->Edit(4)->text(), "1.0");
        EXPECT_EQ(form->windowTitle(), S("タイトルの指定"));
        QStringList labels;
        for (const char* name : {"Label1", "Label2", "Label4", "Label3", "Label9", "Label16"})
            labels << form->findChild<QLabel*>(QString::fromLatin1(name))->text();
        EXPECT_EQ(labels.join(u'|'), S("保存条件を指定してください。|タイトル：|ﾀｲﾑｽﾀﾝﾌﾟ：|"
                                       "地図情報の最大値は、Ｘ座標が|倍率：|注  釈 ："));
        EXPECT_EQ(form->CancelButton()->text(), S("ｷｬﾝｾﾙ"));
        // Tab order: Edit1, Edit5-7, Edit8-10, Edit2-4, Memo1, OK, Cancel.
        QList<QWidget*> order{form->Edit(1),       form->Edit(5), form->Edit(6),  form->Edit(7),
                              form->Edit(8),       form->Edit(9), form->Edit(10), form->Edit(2),
                              form->Edit(3),       form->Edit(4), form->Memo(),   form->OkButton(),
                              form->CancelButton()};
        for (int i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = order[i]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
            EXPECT_EQ(next, order[i + 1]) << i;
        }
        form->Edit(4)->setText("0.5");
        form->Memo()->setPlainText(S("一行目\n\n"));
        form->OkButton()->click();
    });
    ASSERT_TRUE(app->ui.TitleDialog(f));
    EXPECT_EQ(f.magnification, "0.5");
    EXPECT_EQ(f.year, "2026");
    // A final line break does not make a line of its own.
    EXPECT_EQ(f.remarks, (QStringList{S("一行目"), QString()}));

    WhileOpen([form] { form->CancelButton()->click(); });
    EXPECT_FALSE(app->ui.TitleDialog(f));
}

TEST_F(AppTest, MoveDialogReturnsItsThreeBoxes) {
    MoveMapForm* form = app->ui.MoveMap();
    MoveFields f;
    WhileOpen([form] {
        EXPECT_EQ(form->Edit(1)->text(), "0");
        EXPECT_EQ(form->Edit(3)->text(), "1.0");
        EXPECT_EQ(form->windowTitle(), S("移動/伸縮"));
        form->Edit(1)->setText("20");
        form->Edit(2)->setText("-10");
        form->Edit(3)->setText("1.5");
        form->accept();
    });
    ASSERT_TRUE(app->ui.MoveMapDialog(f));
    EXPECT_EQ(f.dx, "20");
    EXPECT_EQ(f.dy, "-10");
    EXPECT_EQ(f.factor, "1.5");
}

TEST_F(AppTest, AreaPositionDialogListsNamesWithoutCallingBack) {
    ZpotDialog* zpot = app->ui.Zpot();
    app->ed.areaPositions.ZpotSelected = 7;
    app->ui.ZpotShow({S("青葉町"), S("北原村"), S("東浜町")});
    app->ui.ZpotSelect(1);
    EXPECT_TRUE(zpot->isVisible());
    EXPECT_TRUE(zpot->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(zpot->isModal());
    EXPECT_EQ(zpot->List()->count(), 3);
    EXPECT_EQ(zpot->List()->currentRow(), 1);
    // Filling and selecting from the editor's side is no click of the person.
    EXPECT_EQ(app->ed.areaPositions.ZpotSelected, 7);
    // The chosen name shows as chosen while the person types in a box.
    zpot->Box(1)->setFocus();
    QListWidgetItem* chosen = zpot->List()->item(1);
    EXPECT_TRUE(chosen->isSelected());
    const QImage shot = zpot->List()->viewport()->grab().toImage();
    const QRect r = zpot->List()->visualItemRect(chosen);
    EXPECT_EQ(shot.pixelColor(r.right() - 2, r.center().y()),
              zpot->List()->palette().color(QPalette::Active, QPalette::Highlight));

    std::array<QString, 9> boxes;
    boxes[0] = "10,20";
    boxes[2] = "30,40";
    app->ui.ZpotSetBoxes(boxes);
    zpot->Box(2)->setText("");
    zpot->Box(1)->setText("5,6");
    const auto back = app->ui.ZpotBoxes();
    EXPECT_EQ(back[0], "10,20");
    EXPECT_EQ(back[1], "5,6");
    EXPECT_EQ(back[2], "");
    zpot->hide();
}

TEST_F(AppTest, DialogsOpenBesideTheMainWindowAndStayOnScreen) {
    const QRect screen = Win().screen()->geometry();
    Win().move(40, 30);
    app->ui.Place(app->ui.MoveMap(), DialogId::MoveMapDialog);
    EXPECT_EQ(app->ui.MoveMap()->pos(), Win().frameGeometry().topLeft() + QPoint(100, 130));

    // Near the right edge the about box is pulled back to end at the edge.
    Win().move(screen.width() - 100, 30);
    AboutDialog* about = app->ui.About();
    app->ui.Place(about, DialogId::AboutDialog);
    EXPECT_EQ(about->frameGeometry().right() + 1, screen.right() + 1);
    EXPECT_EQ(about->y(), Win().frameGeometry().top() + 100);
}

TEST_F(AppTest, AboutBoxAndHelpShowTheirContent) {
    AboutDialog* about = app->ui.About();
    EXPECT_EQ(about->windowTitle(), "About Velmot");
    auto* line = about->findChild<QLabel*>("ProductName");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), S("ZENKAN用白地図作成"));
    EXPECT_TRUE(line->font().bold());
    EXPECT_EQ(line->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    Win().Action(Cmd::HelpContents)->trigger();
    HelpWindow* help = app->ui.Help();
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->windowTitle().contains("Velmot"));
    // The contents page and every page it links to are there.
    const QString contents = help->Browser()->toPlainText();
    EXPECT_TRUE(contents.contains(S("作業の流れ")));
    for (const char* page : {"picture", "tracing", "kinds", "areas", "finish", "files", "keys"}) {
        help->Browser()->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(page)));
        EXPECT_FALSE(help->Browser()->toPlainText().trimmed().isEmpty()) << page;
        EXPECT_TRUE(help->Browser()->toPlainText().contains(S("目次へ"))) << page;
    }
    help->close();
}

TEST(DialogPlacement, AtTheOffsetPulledBackOnlyAtTheScreensRightAndBottom) {
    const QSize screen(1280, 1024);
    const QSize about(300, 200);
    EXPECT_EQ(PlaceDialog(190, 100, 250, 100, about, screen), QPoint(440, 200));
    // Near the right edge: moved left to end at the edge.
    EXPECT_EQ(PlaceDialog(1100, 100, 250, 100, about, screen), QPoint(980, 200));
    // Near the bottom: moved up.
    EXPECT_EQ(PlaceDialog(100, 900, 25, 100, about, screen), QPoint(125, 824));
    // Off the left edge: not moved back.
    EXPECT_EQ(PlaceDialog(-400, -300, 25, 100, about, screen), QPoint(-375, -200));
    EXPECT_EQ(DialogOffset(DialogId::MoveMapDialog), QPoint(100, 130));
}
