// The main window as the person meets it: menus, tool panel, popups and the
// mapping of the editor's command ids onto them.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QGuiApplication>
#include <QScreen>

#include "AppFixture.h"
#include "app/SurfaceView.h"

namespace {

// A menu as "caption: item|item|-|item", separators as "-".
QString Describe(const QMenu* m) {
    QStringList items;
    for (QAction* a : m->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return m->title() + QStringLiteral(": ") + items.join(QLatin1Char('|'));
}

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TEST_F(AppTest, MenuBarHasEveryMenuItemWithItsAccelerator) {
    QStringList menus;
    for (QAction* a : Win().menuBar()->actions()) menus << Describe(a->menu());
    const QStringList expected = {
        S("ﾌｧｲﾙ(&F): 作業保存(&S)|作業読込(&L)|完成図(idt)保存(&W)|IDTファイル読込(&R)|"
          "新規作業(&N)|-|上書き保存(&U)|-|境界データの読み込み(&G)|書き出し(&E)|印刷(&P)|-|"
          "終了(&X)"),
        S("下絵(&E): 下絵の読み込み(&L)|下絵の貼り付け(&P)|-|下絵の単色化(&M)|下絵の拡大(&N)|"
          "下絵を隠す(&H)|下絵の消去(&D)|自動トレース(&T)"),
        S("作図(&D): 点情報入力モード(&B)|点情報修正モード(&E)|-|線種指定モード(&L)|"
          "トリミングモード(&T)|ジグソーモード(&J)|-|移動／伸縮(&M)|-|元に戻す(&U)|やり直し(&R)|"
          "-|基準点(&P)"),
        S("区域(&A): 区域名入力･編集(&N)|区域名⇔位置(&Z)"),
        S("凡例(&I): 凡例位置指定(&P)"),
        S("完成(&C): 境界線最終編成(&R)|全区域の点検(&C)"),
        S("表示(&V): 拡大表示(&I)|縮小表示(&O)|等倍表示(&A)|全体表示(&F)"),
        S("ヘルプ(&H): 目次(&C)|Velmot について|-|ｽﾋﾟｰﾄﾞﾎﾞﾀﾝのヒント"),
    };
    EXPECT_EQ(menus, expected);

    // Only the start mode and the hint toggle carry a check mark at start.
    for (int i = 0; i < int(Cmd::Count_); ++i) {
        const Cmd c = Cmd(i);
        QAction* a = Win().Action(c);
        if (!a) continue;
        const bool expectChecked = c == Cmd::BuildMode || c == Cmd::CheckShowHint;
        EXPECT_EQ(a->isChecked(), expectChecked) << CmdName(c);
    }
}

TEST_F(AppTest, DesktopKeysTitleAndRecentFiles) {
    const std::pair<Cmd, const char*> keys[] = {{Cmd::SaveOver, "Ctrl+S"},
                                                {Cmd::LoadWork, "Ctrl+O"},
                                                {Cmd::NewWork, "Ctrl+N"},
                                                {Cmd::Quit, "Ctrl+Q"},
                                                {Cmd::HelpContents, "F1"}};
    for (auto [c, key] : keys)
        EXPECT_EQ(Win().Action(c)->shortcut().toString(), QString::fromLatin1(key)) << key;

    app->watcher->Refresh();
    EXPECT_EQ(Win().windowTitle(), S("無題[*] — Velmot"));
    EXPECT_FALSE(Win().isWindowModified());

    // Opening a file names the window and heads the list at the menu's end.
    const QString sample = QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/sample.vlm");
    app->OpenFromCommandLine(sample);
    EXPECT_EQ(Win().windowTitle(), S("sample.vlm[*] — Velmot"));
    QTest::mouseClick(Win().View(), Qt::LeftButton, {}, QPoint(5, 5));
    app->watcher->Refresh();
    EXPECT_TRUE(Win().isWindowModified());
    QMenu* file = Win().menuBar()->actions().first()->menu();
    emit file->aboutToShow();
    ASSERT_EQ(Win().RecentActions().size(), 2);  // the separator and the file
    const QList<QAction*> items = file->actions();
    EXPECT_EQ(Win().RecentActions().back(), items[items.size() - 3]);  // above -|終了
    EXPECT_EQ(items.back(), Win().Action(Cmd::Quit));
    EXPECT_EQ(Win().RecentActions().back()->toolTip(), QFileInfo(sample).absoluteFilePath());
}

TEST_F(AppTest, TheFirstWindowTakesTwoThirdsOfTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(Win().size(), area.size() * 2 / 3);
    EXPECT_TRUE(area.contains(Win().geometry()));
}

TEST_F(AppTest, PopupMenusHoldTheirItems) {
    EXPECT_EQ(Describe(Win().PopupMenu(Popup::RButtonMenu)),
              S(": 今のは端点|今のは始点|ひとつ戻る|始点と結ぶ|近傍点と結ぶ|近傍点を始点に"));
    EXPECT_EQ(Describe(Win().PopupMenu(Popup::RBtnEditMode)),
              S(": 点の追加|点の削除|つながりの切断|連続線の削除"));
    EXPECT_EQ(Describe(Win().PopupMenu(Popup::BtnLKindMode)),
              S(": 追加－第２境界線|追加－区分線|移籍→補助線|-|解除－第２境界線|解除－区分線|"
                "移籍←補助線"));
    EXPECT_EQ(Describe(Win().PopupMenu(Popup::RBtnCutting)),
              S(": 外側を削除|内側を削除|キャンセル"));
    EXPECT_EQ(Win().PopupMenu(Popup::None), nullptr);
}

TEST_F(AppTest, StartShowsTheInitialCommandStatesAndLayout) {
    EXPECT_EQ(Win().windowTitle(), S("無題[*] — Velmot"));
    for (Cmd c :
         {Cmd::WriteMap, Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::ZoneArrange, Cmd::ReMakeLine})
        EXPECT_FALSE(Win().Action(c)->isEnabled()) << CmdName(c);
    for (Cmd c : {Cmd::SaveWork, Cmd::LoadWork, Cmd::BMPclear, Cmd::BuildMode, Cmd::AreaNameEdit,
                  Cmd::IndexPos, Cmd::CheckShowHint})
        EXPECT_TRUE(Win().Action(c)->isEnabled()) << CmdName(c);
    for (Cmd c : {Cmd::SpBmpMono, Cmd::SpBmpExpand, Cmd::SpAreaPos, Cmd::SpRemake})
        EXPECT_FALSE(Win().Button(c)->isEnabled()) << CmdName(c);
    for (Cmd c : {Cmd::SpFileOpen, Cmd::SpFileSave, Cmd::SpBmpOpen, Cmd::SpAreaName,
                  Cmd::SpIndexPos, Cmd::SpInputMode, Cmd::SpEditMode})
        EXPECT_TRUE(Win().Button(c)->isEnabled()) << CmdName(c);

    // The tool panel's layout.
    EXPECT_EQ(Win().ToolPanel()->height(), 41);
    const int xs[] = {8, 34, 66, 92, 118, 236, 262, 288, 320};
    int i = 0;
    QStringList hints;
    for (const auto& glyph : MainWindow::GlyphButtons()) {
        QToolButton* b = Win().Button(glyph.first);
        EXPECT_EQ(b->geometry(), QRect(xs[i++], 8, 26, 26)) << CmdName(glyph.first);
        hints << b->toolTip();
    }
    EXPECT_EQ(hints.join(u'|'),
              S("作業ﾌｧｲﾙを開く|作業/完成図の保存|下絵の読み込み|下絵の単色化|下絵の拡大\n"
                "下絵そのものを縦横2倍にします（境界線は動きません）。表示の拡大ではありません。|"
                "区域名入力|区域名⇔位置 関連づけ|凡例位置の指定|境界線最終編成"));
    EXPECT_EQ(Win().Button(Cmd::SpInputMode)->text() + u'|' + Win().Button(Cmd::SpEditMode)->text(),
              S("点入力モード|点修正モード"));
    EXPECT_EQ(Win().Button(Cmd::SpInputMode)->geometry(), QRect(149, 4, 81, 18));
    EXPECT_EQ(Win().Button(Cmd::SpEditMode)->geometry(), QRect(149, 20, 81, 17));
    EXPECT_EQ(Win().MouseXY()->text(), QStringLiteral("1:1"));
    EXPECT_FALSE(Win().ProgressBar()->isVisible());
    EXPECT_EQ(Win().View()->size(), QSize(2560, 1920));
}

TEST_F(AppTest, EnableCheckAndCaptionReachTheRightWidget) {
    // Menu item and tool-bar button of one command are separate ids.
    app->ui.SetEnabled(Cmd::SpRemake, true);
    EXPECT_TRUE(Win().Button(Cmd::SpRemake)->isEnabled());
    EXPECT_FALSE(Win().Action(Cmd::ReMakeLine)->isEnabled());
    app->ui.SetEnabled(Cmd::ReMakeLine, true);
    EXPECT_TRUE(Win().Action(Cmd::ReMakeLine)->isEnabled());
    app->ui.SetEnabled(Cmd::DelLine, false);
    EXPECT_FALSE(Win().Action(Cmd::DelLine)->isEnabled());

    app->ui.SetChecked(Cmd::BuildMode, false);
    app->ui.SetChecked(Cmd::CuttingMode, true);
    EXPECT_FALSE(Win().Action(Cmd::BuildMode)->isChecked());
    EXPECT_TRUE(Win().Action(Cmd::CuttingMode)->isChecked());

    app->ui.SetCaption(Cmd::BMPshowhide, S("下絵の再表示(&H)"));
    EXPECT_EQ(Win().Action(Cmd::BMPshowhide)->text(), S("下絵の再表示(&H)"));
}

TEST_F(AppTest, MenuItemsRunTheirCommandAndTheEditorKeepsTheCheckMarks) {
    Win().Action(Cmd::EditMode)->trigger();
    EXPECT_EQ(app->ed.st.Mode, Mode::Edit);
    EXPECT_TRUE(Win().Action(Cmd::EditMode)->isChecked());
    EXPECT_FALSE(Win().Action(Cmd::BuildMode)->isChecked());

    // Triggering the checked item again must not let Qt's own toggle uncheck it.
    Win().Action(Cmd::EditMode)->trigger();
    EXPECT_TRUE(Win().Action(Cmd::EditMode)->isChecked());

    // The hint toggle, twice: hints go and come back, and so does the check.
    QAction* hint = Win().Action(Cmd::CheckShowHint);
    hint->trigger();
    EXPECT_FALSE(hint->isChecked());
    for (auto [c, text] : MainWindow::GlyphButtons())
        EXPECT_TRUE(Win().Button(c)->toolTip().isEmpty());
    hint->trigger();
    EXPECT_TRUE(hint->isChecked());
    for (auto [c, text] : MainWindow::GlyphButtons())
        EXPECT_EQ(Win().Button(c)->toolTip(), msg::Text(text));
    // The mode buttons are captioned, never hinted.
    EXPECT_TRUE(Win().Button(Cmd::SpInputMode)->toolTip().isEmpty());
}

TEST_F(AppTest, ModeButtonsShowWhichModeIsOn) {
    QToolButton* in = Win().Button(Cmd::SpInputMode);
    QToolButton* ed = Win().Button(Cmd::SpEditMode);
    auto black = QColor(Qt::black), blue = QColor(0, 0, 255);
    auto style = [](QToolButton* b) {
        return std::tuple(b->isChecked(), b->font().bold(),
                          b->palette().color(QPalette::ButtonText));
    };
    EXPECT_EQ(style(in), std::tuple(true, true, black));
    EXPECT_EQ(style(ed), std::tuple(false, false, blue));

    QTest::mouseClick(ed, Qt::LeftButton);
    EXPECT_EQ(app->ed.st.Mode, Mode::Edit);
    EXPECT_EQ(style(in), std::tuple(false, false, blue));
    EXPECT_EQ(style(ed), std::tuple(true, true, black));

    // Trimming mode has neither button down.
    Win().Action(Cmd::CuttingMode)->trigger();
    EXPECT_EQ(style(in), std::tuple(false, false, blue));
    EXPECT_EQ(style(ed), std::tuple(false, false, blue));
    EXPECT_EQ(Win().View()->ModeCursor(), SurfaceCursor::Cutter);

    // A click on a button that is already down leaves it down.
    QTest::mouseClick(in, Qt::LeftButton);
    QTest::mouseClick(in, Qt::LeftButton);
    EXPECT_EQ(style(in), std::tuple(true, true, black));
    EXPECT_EQ(app->ed.st.Mode, Mode::Input);
}

TEST_F(AppTest, ClosingWritesTheWindowBoundsBesideTheProgram) {
    Win().move(300, 200);
    Win().resize(600, 450);
    EXPECT_TRUE(Win().close());
    QFile f(SettingsFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << SettingsFile().toStdString();
    const QString text = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Position=300,200,600,450"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Image=2560,1920"))) << text.toStdString();
}

TEST_F(AppTest, UnsavedWorkKeepsTheWindowOpenWhenThePersonSaysNo) {
    EditMap(app->ed, [&](Store& s_) { s_.Modified = true; });
    // Answer the close question (保存 / 破棄 / キャンセル) with キャンセル.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(Win().close());
    EXPECT_TRUE(Win().isVisible());
    EXPECT_FALSE(QFile::exists(SettingsFile()));
}

TEST_F(AppTest, SurfaceIsPaintedFromTheEditorsPixels) {
    app->ed.surf.Fill(Black);
    app->ed.surf.SetPixel(5, 7, Red);
    app->ed.surf.SetPixel(40, 30, Lime);
    app->ui.SurfaceChanged();
    // Grab parts at different offsets so that the exposed-rectangle
    // arithmetic is what gets checked.
    const QImage whole = Win().View()->grab(QRect(0, 0, 64, 48)).toImage();
    EXPECT_EQ(whole.pixel(5, 7), PaletteRgb(Red));
    EXPECT_EQ(whole.pixel(6, 7), PaletteRgb(Black));
    EXPECT_EQ(whole.pixel(40, 30), PaletteRgb(Lime));
    const QImage part = Win().View()->grab(QRect(33, 25, 16, 16)).toImage();
    EXPECT_EQ(part.pixel(7, 5), PaletteRgb(Lime));
    EXPECT_EQ(part.pixel(8, 5), PaletteRgb(Black));

    // A resized surface is taken over by the view.
    app->ed.surf.Resize(700, 500);
    app->ui.SurfaceChanged();
    EXPECT_EQ(Win().View()->size(), QSize(700, 500));
}

TEST_F(AppTest, KeysOverTheSurfaceReachTheKeyboardCommands) {
    QWidget* view = Win().View();
    Win().Flat()->viewport()->activateWindow();
    QCursor::setPos(view->mapToGlobal(QPoint(50, 60)));
    ASSERT_EQ(app->ui.ShownSurfaceCursor(), SurfaceCursor::CrossLine);
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_EQ(app->ed.st.Mode, Mode::Edit);
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_EQ(app->ed.st.Mode, Mode::Input);

    // Shift+Right moves the pointer eight pixels.
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->mapFromGlobal(QCursor::pos()), QPoint(58, 60));

    // Off the surface, the keys do nothing.
    QCursor::setPos(Win().ToolPanel()->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(app->ui.ShownSurfaceCursor(), std::nullopt);
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_EQ(app->ed.st.Mode, Mode::Input);
}
