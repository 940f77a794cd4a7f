#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/GisMenu.h"
#include "app/KeyMap.h"
#include "app/SurfaceView.h"
#include "app/ViewControls.h"
#include "core/Editor.h"

namespace {

constexpr int PanelHeight = 41;
constexpr int GlyphSize = 26;
constexpr int ProgressWidth = 93;

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Picture enlargement is easily taken for a zoom; its hints say what it does.
#define EXPAND_WHAT \
    "下絵そのものを縦横2倍にします（境界線は動きません）。表示の拡大ではありません。"
constexpr char ExpandHint[] = "下絵の拡大\n" EXPAND_WHAT;
constexpr char ExpandTip[] = EXPAND_WHAT;
#undef EXPAND_WHAT

// Glyph buttons: x position on the panel and hint.
struct GlyphSpec {
    Cmd cmd;
    int x;
    const char* hint;
};
constexpr GlyphSpec Glyphs[] = {
    {Cmd::SpFileOpen, 8, "作業ﾌｧｲﾙを開く"},        {Cmd::SpFileSave, 34, "作業/完成図の保存"},
    {Cmd::SpBmpOpen, 66, "下絵の読み込み"},        {Cmd::SpBmpMono, 92, "下絵の単色化"},
    {Cmd::SpBmpExpand, 118, ExpandHint},           {Cmd::SpAreaName, 236, "区域名入力"},
    {Cmd::SpAreaPos, 262, "区域名⇔位置 関連づけ"}, {Cmd::SpIndexPos, 288, "凡例位置の指定"},
    {Cmd::SpRemake, 320, "境界線最終編成"},
};

void StyleModeButton(QToolButton* b, bool down) {
    QFont f = b->font();
    f.setBold(down);
    b->setFont(f);
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, down ? QColor(Qt::black) : QColor(0, 0, 255));
    b->setPalette(pal);
    b->setChecked(down);
}

}  // namespace

const std::array<std::pair<Cmd, const char*>, 9>& MainWindow::GlyphButtons() {
    static const std::array<std::pair<Cmd, const char*>, 9> list = [] {
        std::array<std::pair<Cmd, const char*>, 9> a{};
        for (size_t i = 0; i < a.size(); ++i) a[i] = {Glyphs[i].cmd, Glyphs[i].hint};
        return a;
    }();
    return list;
}

MainWindow::MainWindow(Editor& ed) : ed_(ed) {
    setObjectName(QStringLiteral("VelmotForm"));
    setWindowTitle(QStringLiteral("Velmot"));
    setWindowIcon(ProgramIcon());
    setFont(UiFont());
    BuildMenus();
    BuildPopups();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildPanel();
    column->addWidget(panel_);

    flat_ = new QScrollArea(central);
    flat_->setObjectName(QStringLiteral("Flat"));
    flat_->setFocusPolicy(Qt::NoFocus);
    flat_->setWidgetResizable(false);
    flat_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_ = new SurfaceView(ed_, *this);
    view_->setObjectName(QStringLiteral("Image"));
    flat_->setWidget(view_);
    column->addWidget(flat_, 1);
    setCentralWidget(central);
    AddViewControls(*this);
    resize(560, 420);
    view_->setFocus();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::AddItem(QMenu* menu, Cmd c, const QString& caption, bool checkable) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(CmdName(c)));
    a->setCheckable(checkable);
    actions_[size_t(c)] = a;
    connect(a, &QAction::triggered, this, [this, a, c] {
        // The editor decides the check mark; undo Qt's own toggle first.
        if (a->isCheckable()) a->setChecked(checked_[size_t(c)]);
        Run(c);
    });
    return a;
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(S("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("MenuFile"));
    AddItem(file, Cmd::SaveWork, S("作業保存(&S)"));
    AddItem(file, Cmd::LoadWork, S("作業読込(&L)"));
    AddItem(file, Cmd::WriteMap, S("完成図(idt)保存(&W)"));
    AddItem(file, Cmd::ReadMap, S("IDTファイル読込(&R)"));
    AddItem(file, Cmd::NewWork, S("新規作業(&N)"));
    file->addSeparator();
    AddItem(file, Cmd::Quit, S("終了(&X)"));
    gis_menu::AddItems(file, ed_, this);
    file->addSeparator();
    AddItem(file, Cmd::SaveOver, S("上書き保存(&U)"))->setShortcut(QKeySequence::Save);
    connect(file, &QMenu::aboutToShow, this, [this, file] { FillRecentFiles(file); });

    QMenu* edit = bar->addMenu(S("下絵(&E)"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    AddItem(edit, Cmd::LoadBMP, S("下絵の読み込み(&L)"));
    AddItem(edit, Cmd::BMPpaste, S("下絵の貼り付け(&P)"));
    edit->addSeparator();
    AddItem(edit, Cmd::BMPmonotone, S("下絵の単色化(&M)"));
    AddItem(edit, Cmd::BMPexpand, S("下絵の拡大(&N)"))->setStatusTip(S(ExpandTip));
    AddItem(edit, Cmd::BMPshowhide, S("下絵を隠す(&H)"));
    AddItem(edit, Cmd::BMPclear, S("下絵の消去(&D)"));
    connect(edit, &QMenu::aboutToShow, this, [this] { ed_.CheckMainMenu(); });

    QMenu* mode = bar->addMenu(S("作図(&D)"));
    mode->setObjectName(QStringLiteral("MenuMode"));
    AddItem(mode, Cmd::BuildMode, S("点情報入力モード(&B)"), true);
    AddItem(mode, Cmd::EditMode, S("点情報修正モード(&E)"), true);
    mode->addSeparator();
    AddItem(mode, Cmd::LineKindMode, S("線種指定モード(&L)"), true);
    AddItem(mode, Cmd::CuttingMode, S("トリミングモード(&T)"), true);
    AddItem(mode, Cmd::PickUpMode, S("ジグソーモード(&J)"), true);
    mode->addSeparator();
    AddItem(mode, Cmd::MoveMap, S("移動／伸縮(&M)"));
    mode->addSeparator();
    QAction* undo = AddItem(mode, Cmd::Undo, S("元に戻す(&U)"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = AddItem(mode, Cmd::Redo, S("やり直し(&R)"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Nothing to step through until the first change.
    undo->setEnabled(false);
    redo->setEnabled(false);

    QMenu* arrange = bar->addMenu(S("区域(&A)"));
    arrange->setObjectName(QStringLiteral("MenuArrange"));
    AddItem(arrange, Cmd::AreaNameEdit, S("区域名入力･編集(&N)"));
    AddItem(arrange, Cmd::ZoneArrange, S("区域名⇔位置(&Z)"));

    QMenu* index = bar->addMenu(S("凡例(&I)"));
    index->setObjectName(QStringLiteral("MenuIndex"));
    AddItem(index, Cmd::IndexPos, S("凡例位置指定(&P)"));

    QMenu* line = bar->addMenu(S("完成(&C)"));
    line->setObjectName(QStringLiteral("MenuLine"));
    AddItem(line, Cmd::ReMakeLine, S("境界線最終編成(&R)"));
    AddItem(line, Cmd::CheckAreas, S("全区域の点検(&C)"));

    QMenu* help = bar->addMenu(S("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    AddItem(help, Cmd::HelpContents, S("目次(&C)"));
    AddItem(help, Cmd::AboutVelmot, S("Velmot について"));
    help->addSeparator();
    AddItem(help, Cmd::CheckShowHint, S("ｽﾋﾟｰﾄﾞﾎﾞﾀﾝのヒント"), true);

    // The usual desktop keys, shown beside the items they run.
    Action(Cmd::LoadWork)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(Cmd::NewWork)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Action(Cmd::Quit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Action(Cmd::HelpContents)->setShortcut(QKeySequence(Qt::Key_F1));

    // The start-up state, until the editor says otherwise.
    SetChecked(Cmd::BuildMode, true);
    SetChecked(Cmd::CheckShowHint, true);
}

void MainWindow::BuildPopups() {
    auto make = [this](Popup p, const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        popups_[size_t(p)] = m;
        return m;
    };
    QMenu* input = make(Popup::RButtonMenu, "RButtonMenu");
    AddItem(input, Cmd::LastPoint, S("今のは端点"));
    AddItem(input, Cmd::CutLine, S("今のは始点"));
    AddItem(input, Cmd::WrongPoint, S("ひとつ戻る"));
    AddItem(input, Cmd::ConnectStartPoint, S("始点と結ぶ"));
    AddItem(input, Cmd::ConnectNearPoint, S("近傍点と結ぶ"));
    AddItem(input, Cmd::NearStartPosition, S("近傍点を始点に"));

    QMenu* edit = make(Popup::RBtnEditMode, "RBtnEditMode");
    AddItem(edit, Cmd::AppendDot, S("点の追加"));
    AddItem(edit, Cmd::DelPoint, S("点の削除"));
    AddItem(edit, Cmd::CutDots, S("つながりの切断"));
    AddItem(edit, Cmd::DelLine, S("連続線の削除"));

    QMenu* kind = make(Popup::BtnLKindMode, "BtnLKindMode");
    AddItem(kind, Cmd::SecLine, S("追加－第２境界線"));
    AddItem(kind, Cmd::AbsLine, S("追加－区分線"));
    AddItem(kind, Cmd::AstLine, S("移籍→補助線"));
    kind->addSeparator();
    AddItem(kind, Cmd::RelSecLine, S("解除－第２境界線"));
    AddItem(kind, Cmd::RelAbsLine, S("解除－区分線"));
    AddItem(kind, Cmd::RelAstLine, S("移籍←補助線"));

    QMenu* cut = make(Popup::RBtnCutting, "RBtnCutting");
    AddItem(cut, Cmd::SweepCutting, S("外側を削除"));
    AddItem(cut, Cmd::HoleCutting, S("内側を削除"));
    AddItem(cut, Cmd::CancelCutting, S("キャンセル"));
}

void MainWindow::BuildPanel() {
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedHeight(PanelHeight);
    panel_ = panel;

    for (const GlyphSpec& g : Glyphs) {
        auto* b = new QToolButton(panel);
        b->setObjectName(QString::fromLatin1(CmdName(g.cmd)));
        b->setGeometry(g.x, 8, GlyphSize, GlyphSize);
        b->setIcon(ToolGlyph(g.cmd));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(S(g.hint));
        if (g.cmd == Cmd::SpBmpExpand) b->setStatusTip(S(ExpandTip));
        buttons_[size_t(g.cmd)] = b;
        const Cmd c = g.cmd;
        connect(b, &QToolButton::clicked, this, [this, c] { Run(c); });
    }

    // The two mode buttons form one group that may also have neither down,
    // so Qt's exclusive groups do not fit; the editor sets them.
    auto mode = [&](Cmd c, const char* caption, int y, int h) {
        auto* b = new QToolButton(panel);
        b->setObjectName(QString::fromLatin1(CmdName(c)));
        b->setText(S(caption));
        b->setCheckable(true);
        b->setGeometry(149, y, 81, h);
        b->setFocusPolicy(Qt::NoFocus);
        buttons_[size_t(c)] = b;
        connect(b, &QToolButton::clicked, this, [this, c] {
            SetModeButtons(inputDown_, editDown_);
            Run(c);
        });
    };
    mode(Cmd::SpInputMode, "点入力モード", 4, 18);
    mode(Cmd::SpEditMode, "点修正モード", 20, 17);
    SetModeButtons(true, false);

    mouseXY_ = new QLabel(QStringLiteral("1:1"), panel);
    mouseXY_->setObjectName(QStringLiteral("mouseXY"));
    mouseXY_->setGeometry(356, 16, 65, 14);

    progress_ = new QProgressBar(panel);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setGeometry(441, 12, ProgressWidth, 16);
    progress_->hide();
}

QMenu* MainWindow::PopupMenu(Popup p) const {
    return p == Popup::None ? nullptr : popups_[size_t(p)];
}

void MainWindow::Run(Cmd c) {
    ++commandDepth_;
    ed_.Command(c);
    --commandDepth_;
}

void MainWindow::FillRecentFiles(QMenu* file) {
    for (QAction* a : recent_) delete a;
    recent_.clear();
    const QStringList files = ed_.RecentFiles();
    if (files.isEmpty()) return;
    recent_ << file->addSeparator();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString shown =
            fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, 360);
        QAction* a = file->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            ++commandDepth_;
            ed_.OpenByContent(path);
            --commandDepth_;
        });
        recent_ << a;
    }
}

void MainWindow::SetEnabled(Cmd c, bool on) {
    if (QAction* a = Action(c)) a->setEnabled(on);
    if (QToolButton* b = Button(c)) b->setEnabled(on);
}

void MainWindow::SetChecked(Cmd c, bool on) {
    checked_[size_t(c)] = on;
    if (QAction* a = Action(c)) a->setChecked(on);
    if (QToolButton* b = Button(c)) b->setChecked(on);
}

void MainWindow::SetCaption(Cmd c, const QString& text) {
    if (QAction* a = Action(c)) a->setText(text);
    if (QToolButton* b = Button(c)) b->setText(text);
}

void MainWindow::SetModeButtons(bool inputDown, bool editDown) {
    inputDown_ = inputDown;
    editDown_ = editDown;
    StyleModeButton(Button(Cmd::SpInputMode), inputDown);
    StyleModeButton(Button(Cmd::SpEditMode), editDown);
}

void MainWindow::SetHintsShown(bool on) {
    for (const GlyphSpec& g : Glyphs) Button(g.cmd)->setToolTip(on ? S(g.hint) : QString());
}

void MainWindow::OpenAttachedPopup(QPoint screen) {
    OpenPopup(attached_, screen);
}

void MainWindow::OpenPopup(Popup p, QPoint screen) {
    if (QMenu* m = PopupMenu(p)) m->popup(screen);
}

void MainWindow::ForwardKey(QKeyEvent* e) {
    if (int k = VirtualKey(e->key())) {
        ed_.KeyDown(k, e->modifiers(), QApplication::mouseButtons());
        e->accept();
    } else {
        e->ignore();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    ForwardKey(e);
}

QRect MainWindow::NormalBounds() const {
    if (!isMaximized() && !isMinimized()) return QRect(pos(), size());
    // normalGeometry() is the inner rectangle; keep the outer corner as pos() does.
    const QRect n = normalGeometry();
    const QPoint frame = geometry().topLeft() - pos();
    return QRect(n.topLeft() - frame, n.size());
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!ed_.CloseQuery()) {
        e->ignore();
        return;
    }
    ed_.CloseMain(NormalBounds(), isMaximized());
    e->accept();
}
