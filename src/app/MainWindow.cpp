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
#include "editor/Editor.h"
#include "base/Messages.h"

namespace {

constexpr int PanelHeight = 41;
constexpr int GlyphSize = 26;
constexpr int ProgressWidth = 93;

// Glyph buttons: x position on the panel and hint.
struct GlyphSpec {
    Cmd cmd;
    int x;
    Msg hint;
};
constexpr GlyphSpec Glyphs[] = {
    {Cmd::SpFileOpen, 8, Msg::HintFileOpen},    {Cmd::SpFileSave, 34, Msg::HintFileSave},
    {Cmd::SpBmpOpen, 66, Msg::HintPictureOpen}, {Cmd::SpBmpMono, 92, Msg::HintMonotone},
    {Cmd::SpBmpExpand, 118, Msg::HintExpand},   {Cmd::SpAreaName, 236, Msg::HintAreaName},
    {Cmd::SpAreaPos, 262, Msg::HintAreaPos},    {Cmd::SpIndexPos, 288, Msg::HintLegendPos},
    {Cmd::SpRemake, 320, Msg::HintCompose},
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

const std::array<std::pair<Cmd, Msg>, 9>& MainWindow::GlyphButtons() {
    static const std::array<std::pair<Cmd, Msg>, 9> list = [] {
        std::array<std::pair<Cmd, Msg>, 9> a{};
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
    QMenu* file = bar->addMenu(msg::Text(Msg::MenuFile));
    file->setObjectName(QStringLiteral("MenuFile"));
    AddItem(file, Cmd::SaveWork, msg::Text(Msg::MenuSaveWork));
    AddItem(file, Cmd::LoadWork, msg::Text(Msg::MenuLoadWork));
    AddItem(file, Cmd::WriteMap, msg::Text(Msg::MenuWriteMap));
    AddItem(file, Cmd::ReadMap, msg::Text(Msg::MenuReadMap));
    AddItem(file, Cmd::NewWork, msg::Text(Msg::MenuNewWork));
    file->addSeparator();
    // The program's own items come between the work's and 終了, which stays last.
    AddItem(file, Cmd::SaveOver, msg::Text(Msg::MenuSaveOver))->setShortcut(QKeySequence::Save);
    gis_menu::AddItems(file, ed_, this);
    quitSeparator_ = file->addSeparator();
    AddItem(file, Cmd::Quit, msg::Text(Msg::MenuQuit));
    connect(file, &QMenu::aboutToShow, this, [this, file] { FillRecentFiles(file); });

    QMenu* edit = bar->addMenu(msg::Text(Msg::MenuPicture));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    AddItem(edit, Cmd::LoadBMP, msg::Text(Msg::MenuLoadPicture));
    AddItem(edit, Cmd::BMPpaste, msg::Text(Msg::MenuPastePicture));
    edit->addSeparator();
    AddItem(edit, Cmd::BMPmonotone, msg::Text(Msg::MenuMonotone));
    AddItem(edit, Cmd::BMPexpand, msg::Text(Msg::MenuExpandPicture))
        ->setStatusTip(msg::Text(Msg::TipExpand));
    AddItem(edit, Cmd::BMPshowhide, msg::Text(Msg::MenuHidePicture));
    AddItem(edit, Cmd::BMPclear, msg::Text(Msg::MenuClearPicture));
    AddItem(edit, Cmd::AutoTrace, msg::Text(Msg::MenuAutoTrace));
    connect(edit, &QMenu::aboutToShow, this, [this] { ed_.CheckMainMenu(); });

    QMenu* mode = bar->addMenu(msg::Text(Msg::MenuDraw));
    mode->setObjectName(QStringLiteral("MenuMode"));
    AddItem(mode, Cmd::BuildMode, msg::Text(Msg::MenuInputMode), true);
    AddItem(mode, Cmd::EditMode, msg::Text(Msg::MenuEditMode), true);
    mode->addSeparator();
    AddItem(mode, Cmd::LineKindMode, msg::Text(Msg::MenuLineKindMode), true);
    AddItem(mode, Cmd::CuttingMode, msg::Text(Msg::MenuTrimmingMode), true);
    AddItem(mode, Cmd::PickUpMode, msg::Text(Msg::MenuJigsawMode), true);
    mode->addSeparator();
    AddItem(mode, Cmd::MoveMap, msg::Text(Msg::MenuMoveScale));
    mode->addSeparator();
    QAction* undo = AddItem(mode, Cmd::Undo, msg::Text(Msg::MenuUndo));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = AddItem(mode, Cmd::Redo, msg::Text(Msg::MenuRedo));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Nothing to step through until the first change.
    undo->setEnabled(false);
    redo->setEnabled(false);
    mode->addSeparator();
    AddItem(mode, Cmd::ControlPointMode, msg::Text(Msg::MenuControlPoints), true);

    QMenu* arrange = bar->addMenu(msg::Text(Msg::MenuAreas));
    arrange->setObjectName(QStringLiteral("MenuArrange"));
    AddItem(arrange, Cmd::AreaNameEdit, msg::Text(Msg::MenuAreaNames));
    AddItem(arrange, Cmd::ZoneArrange, msg::Text(Msg::MenuAreaPositions));

    QMenu* index = bar->addMenu(msg::Text(Msg::MenuLegend));
    index->setObjectName(QStringLiteral("MenuIndex"));
    AddItem(index, Cmd::IndexPos, msg::Text(Msg::MenuLegendPosition));

    QMenu* line = bar->addMenu(msg::Text(Msg::MenuFinish));
    line->setObjectName(QStringLiteral("MenuLine"));
    AddItem(line, Cmd::ReMakeLine, msg::Text(Msg::MenuCompose));
    AddItem(line, Cmd::CheckAreas, msg::Text(Msg::MenuCheckAreas));

    QMenu* help = bar->addMenu(msg::Text(Msg::MenuHelp));
    help->setObjectName(QStringLiteral("MenuHelp"));
    AddItem(help, Cmd::HelpContents, msg::Text(Msg::MenuHelpContents));
    AddItem(help, Cmd::AboutVelmot, msg::Text(Msg::MenuAbout));
    help->addSeparator();
    AddItem(help, Cmd::CheckShowHint, msg::Text(Msg::MenuShowHints), true);

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
    AddItem(input, Cmd::LastPoint, msg::Text(Msg::PopLastPoint));
    AddItem(input, Cmd::CutLine, msg::Text(Msg::PopCutLine));
    AddItem(input, Cmd::WrongPoint, msg::Text(Msg::PopWrongPoint));
    AddItem(input, Cmd::ConnectStartPoint, msg::Text(Msg::PopConnectStart));
    AddItem(input, Cmd::ConnectNearPoint, msg::Text(Msg::PopConnectNear));
    AddItem(input, Cmd::NearStartPosition, msg::Text(Msg::PopNearStart));

    QMenu* edit = make(Popup::RBtnEditMode, "RBtnEditMode");
    AddItem(edit, Cmd::AppendDot, msg::Text(Msg::PopAppendDot));
    AddItem(edit, Cmd::DelPoint, msg::Text(Msg::PopDeletePoint));
    AddItem(edit, Cmd::CutDots, msg::Text(Msg::PopCutDots));
    AddItem(edit, Cmd::DelLine, msg::Text(Msg::PopDeleteLine));

    QMenu* kind = make(Popup::BtnLKindMode, "BtnLKindMode");
    AddItem(kind, Cmd::SecLine, msg::Text(Msg::PopAddSecond));
    AddItem(kind, Cmd::AbsLine, msg::Text(Msg::PopAddDivision));
    AddItem(kind, Cmd::AstLine, msg::Text(Msg::PopToAuxiliary));
    kind->addSeparator();
    AddItem(kind, Cmd::RelSecLine, msg::Text(Msg::PopDropSecond));
    AddItem(kind, Cmd::RelAbsLine, msg::Text(Msg::PopDropDivision));
    AddItem(kind, Cmd::RelAstLine, msg::Text(Msg::PopFromAuxiliary));

    QMenu* cut = make(Popup::RBtnCutting, "RBtnCutting");
    AddItem(cut, Cmd::SweepCutting, msg::Text(Msg::PopCutOutside));
    AddItem(cut, Cmd::HoleCutting, msg::Text(Msg::PopCutInside));
    AddItem(cut, Cmd::CancelCutting, msg::Text(Msg::PopCancelCutting));
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
        b->setToolTip(msg::Text(g.hint));
        if (g.cmd == Cmd::SpBmpExpand) b->setStatusTip(msg::Text(Msg::TipExpand));
        buttons_[size_t(g.cmd)] = b;
        const Cmd c = g.cmd;
        connect(b, &QToolButton::clicked, this, [this, c] { Run(c); });
    }

    // The two mode buttons form one group that may also have neither down,
    // so Qt's exclusive groups do not fit; the editor sets them.
    auto mode = [&](Cmd c, Msg caption, int y, int h) {
        auto* b = new QToolButton(panel);
        b->setObjectName(QString::fromLatin1(CmdName(c)));
        b->setText(msg::Text(caption));
        b->setCheckable(true);
        b->setGeometry(149, y, 81, h);
        b->setFocusPolicy(Qt::NoFocus);
        buttons_[size_t(c)] = b;
        connect(b, &QToolButton::clicked, this, [this, c] {
            SetModeButtons(inputDown_, editDown_);
            Run(c);
        });
    };
    mode(Cmd::SpInputMode, Msg::ButtonInputMode, 4, 18);
    mode(Cmd::SpEditMode, Msg::ButtonEditMode, 20, 17);
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
    recent_ << file->insertSeparator(quitSeparator_);
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString shown =
            fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, 360);
        QAction* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), file);
        file->insertAction(quitSeparator_, a);
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
    for (const GlyphSpec& g : Glyphs) Button(g.cmd)->setToolTip(on ? msg::Text(g.hint) : QString());
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
