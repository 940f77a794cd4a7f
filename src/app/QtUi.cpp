#include "app/QtUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <utility>

#include "app/AutoTraceDialog.h"
#include "app/ControlPointDialogs.h"
#include "app/Dialogs.h"
#include "app/FileDrop.h"
#include "app/FileFilter.h"
#include "app/ImportDialog.h"
#include "app/MainWindow.h"
#include "app/Placement.h"
#include "app/ProblemListDialog.h"
#include "app/SurfaceView.h"
#include "base/Messages.h"

namespace {

// Japanese button texts, whatever language Qt itself was set up for.
void JapaneseButtons(QMessageBox& box) {
    if (auto* b = box.button(QMessageBox::Yes)) b->setText(msg::Text(Msg::ButtonYes));
    if (auto* b = box.button(QMessageBox::No)) b->setText(msg::Text(Msg::ButtonNo));
    if (auto* b = box.button(QMessageBox::Cancel)) b->setText(msg::Text(Msg::ButtonCancel));
}

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

QtUi::QtUi() = default;
QtUi::~QtUi() = default;

void QtUi::Attach(MainWindow* win, Editor& ed) {
    win_ = win;
    zone_ = new ZoneForm(win);
    zpot_ = new ZpotDialog(win, ed);
    problems_ = new ProblemListDialog(win, ed);
    controlPoints_ = new ControlPointTableDialog(win, ed);
    title_ = new TitleForm(win);
    about_ = new AboutDialog(win);
    move_ = new MoveMapForm(win);
    help_ = new HelpWindow(win);
    new FileDrop(*win, ed, *this);
}

void QtUi::Place(QWidget* dialog, DialogId d) {
    PlaceDialogBeside(dialog, win_, d);
}

// ---- message boxes ----

bool QtUi::AskYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, win_);
    JapaneseButtons(box);
    return box.exec() == QMessageBox::Yes;
}

SaveChoice QtUi::AskSaveDiscardCancel(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, win_);
    box.button(QMessageBox::Save)->setText(msg::Text(Msg::ButtonSave));
    box.button(QMessageBox::Discard)->setText(msg::Text(Msg::ButtonDiscard));
    JapaneseButtons(box);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

bool QtUi::AskOkCancel(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    win_);
    JapaneseButtons(box);
    return box.exec() == QMessageBox::Ok;
}

void QtUi::Inform(const QString& text, const QString& caption, MsgIcon icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, win_);
    box.exec();
}

void QtUi::ComposeMessage(const QString& text) {
    QMessageBox box(QMessageBox::Critical, msg::Text(Msg::CapError), text, QMessageBox::Ok, win_);
    // Its corner goes to the corner of the visible drawing, next to where the
    // composition has just marked the trouble.
    box.adjustSize();
    box.move(win_->Flat()->viewport()->mapToGlobal(QPoint(0, 0)));
    box.exec();
}

// ---- common dialogs ----

QString QtUi::FileDialog(bool save, const QString& filter, const QString& proposed,
                         const QString& defaultExt) {
    QFileDialog dlg(win_);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setNameFilter(QtFileFilter(filter));
    // The editor asks its own overwrite question, with its own texts.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    // Saving, a name typed without an extension takes the chosen type's
    // (below), so that choosing SVG for "town" writes town.svg.
    const QString suffix = DialogSuffix(defaultExt);
    if (!suffix.isEmpty() && !save) dlg.setDefaultSuffix(suffix);
    if (!proposed.isEmpty()) {
        QFileInfo fi(proposed);
        if (fi.isAbsolute() || proposed.contains(QLatin1Char('/')))
            dlg.setDirectory(fi.absolutePath());
        dlg.selectFile(fi.fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    QString file = dlg.selectedFiles().first();
    if (save && QFileInfo(file).suffix().isEmpty()) {
        const QString chosen = FilterSuffix(dlg.selectedNameFilter());
        const QString ext = chosen.isEmpty() ? suffix : chosen;
        if (!ext.isEmpty()) file += QLatin1Char('.') + ext;
    }
    return file;
}

QString QtUi::ChooseOpenFile(const QString& filter, const QString& proposed,
                             const QString& defaultExt) {
    if (!presetOpen_.isEmpty()) return std::exchange(presetOpen_, QString());
    return FileDialog(false, filter, proposed, defaultExt);
}

QString QtUi::ChooseSaveFile(const QString& filter, const QString& proposed,
                             const QString& defaultExt) {
    return FileDialog(true, filter, proposed, defaultExt);
}

std::optional<QRgb> QtUi::ChooseColor(QRgb initial) {
    const QColor c = QColorDialog::getColor(QColor::fromRgb(initial), win_);
    if (!c.isValid()) return std::nullopt;
    return c.rgb();
}

QImage QtUi::ClipboardImage() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) return QImage();
    return QApplication::clipboard()->image();
}

// ---- the program's own dialogs ----

QString QtUi::EditAreaNames(const QString& text, bool* changed) {
    Place(zone_, DialogId::ZoneForm);
    zone_->SetText(text);
    zone_->exec();
    if (changed) *changed = zone_->Changed() && !zone_->Cancelled();
    return zone_->Text();
}

bool QtUi::TitleDialog(TitleFields& f) {
    Place(title_, DialogId::TitleDialog);
    title_->Load(f);
    if (title_->exec() != QDialog::Accepted) return false;
    title_->Store(f);
    return true;
}

bool QtUi::MoveMapDialog(MoveFields& f) {
    Place(move_, DialogId::MoveMapDialog);
    move_->Load(f);
    if (move_->exec() != QDialog::Accepted) return false;
    move_->Store(f);
    return true;
}

void QtUi::AboutBox() {
    Place(about_, DialogId::AboutDialog);
    about_->exec();
}

void QtUi::HelpContents() {
    // Beside the main window like the dialogs, but out of the way of the map's corner.
    if (!help_->isVisible()) {
        const QRect area = win_->screen() ? win_->screen()->geometry() : QRect(0, 0, 1280, 1024);
        const QPoint corner = win_->frameGeometry().topLeft() - area.topLeft();
        help_->move(area.topLeft() +
                    PlaceDialog(corner.x(), corner.y(), 60, 60, help_->size(), area.size()));
    }
    help_->ShowContents();
}

void QtUi::ZpotShow(const QStringList& names) {
    zpot_->SetNames(names);
    if (!zpot_->isVisible()) Place(zpot_, DialogId::ZpotDialog);
    zpot_->show();
    zpot_->raise();
}

void QtUi::CheckListShow(const std::vector<CheckRow>& rows, const QString& summary) {
    problems_->SetRows(rows, summary);
}

bool QtUi::ControlPointDialog(ControlPointFields& f) {
    ::ControlPointDialog d(win_, f);
    return d.exec() == QDialog::Accepted;
}

void QtUi::ControlPointsShow(const ::ControlPointTable& t) {
    controlPoints_->SetTable(t);
    ControlPointMarksChanged();
}

void QtUi::ControlPointMarksChanged() {
    // The marks are drawn over the surface, not into it.
    if (win_ && win_->View()) win_->View()->update();
}

bool QtUi::ImportDialog(ImportFields& f) {
    ::ImportDialog d(win_, f);
    return d.exec() == QDialog::Accepted;
}

void QtUi::ShowReport(const QString& caption, const QString& headline, const QStringList& lines) {
    ReportDialog d(win_, caption, headline, lines);
    d.exec();
}

bool QtUi::AutoTraceDialog(usecase::TraceSession& session, usecase::TraceChoice& choice) {
    ::AutoTraceDialog d(win_, session, choice);
    return d.exec() == QDialog::Accepted;
}

// The stop button beside a running trace: a small window that appears with
// the first question and goes with the progress bar.
bool QtUi::StopRequested() {
    if (!stop_) {
        stop_ = new QProgressDialog(msg::Text(Msg::CapAutoTrace), msg::Text(Msg::TraceStop), 0, 0,
                                    win_);
        stop_->setWindowModality(Qt::WindowModal);
        stop_->setMinimumDuration(0);
        stop_->show();
    }
    QCoreApplication::processEvents();
    return stop_->wasCanceled();
}

void QtUi::ZpotSelect(int index) {
    zpot_->Select(index);
}

std::array<QString, 9> QtUi::ZpotBoxes() {
    return zpot_->Boxes();
}

void QtUi::ZpotSetBoxes(const std::array<QString, 9>& boxes) {
    zpot_->SetBoxes(boxes);
}

// ---- command surface ----

void QtUi::SetEnabled(Cmd c, bool on) {
    win_->SetEnabled(c, on);
}

void QtUi::SetChecked(Cmd c, bool on) {
    win_->SetChecked(c, on);
}

void QtUi::SetCaption(Cmd c, const QString& text) {
    win_->SetCaption(c, text);
}

void QtUi::SetModeButtons(bool inputDown, bool editDown) {
    win_->SetModeButtons(inputDown, editDown);
}

void QtUi::SetHintsShown(bool on) {
    win_->SetHintsShown(on);
}

void QtUi::AttachPopup(Popup p) {
    win_->AttachPopup(p);
}

void QtUi::ShowPopupNow(Popup p, QPoint screen) {
    SurfaceView* view = win_->View();
    win_->OpenPopup(p, view->mapToGlobal(view->Scale().Centre(ScreenToSurface(screen))));
}

// ---- feedback ----

void QtUi::SetBusy(bool on) {
    if (on == busy_) return;
    busy_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::SetSurfaceCursor(SurfaceCursor c) {
    win_->View()->SetModeCursor(c);
}

void QtUi::SetMouseXY(const QString& text) {
    win_->MouseXY()->setText(text);
}

void QtUi::ShowStatus(const QString& text) {
    win_->statusBar()->showMessage(text);
}

void QtUi::ShowProgress(bool visible) {
    QProgressBar* bar = win_->ProgressBar();
    if (visible) {
        // At the right end of the tool panel, but never over the read-out.
        QWidget* panel = win_->ToolPanel();
        const int x = std::max(441, panel->width() - bar->width() - 8);
        bar->move(x, bar->y());
        bar->show();
        bar->repaint();
    } else {
        bar->hide();
        delete stop_;
        stop_ = nullptr;
    }
}

void QtUi::SetProgress(int position) {
    QProgressBar* bar = win_->ProgressBar();
    bar->setValue(std::clamp(position, 0, 100));
    // Long steps keep the event loop busy; paint the bar now.
    if (bar->isVisible()) bar->repaint();
}

// ---- the view of the surface ----

void QtUi::SurfaceChanged() {
    win_->View()->SurfaceChanged();
}

void QtUi::SurfaceRegionChanged(const QRect& r) {
    win_->View()->SurfaceRegionChanged(r);
}

void QtUi::RepaintNow() {
    win_->repaint();
}

// The editor works in surface pixels. The screen positions it is given and
// hands back are those of a 1:1 view scrolled to the same surface pixel, so
// its keyboard steps and edge scrolling come out in surface pixels at any
// magnification; only the pointer and popups are placed on the real screen.
QPoint QtUi::ScrollPos() {
    return win_->View()->ScrollInSurface();
}

void QtUi::SetScrollPos(QPoint p) {
    win_->View()->ScrollToSurface(p);
}

QSize QtUi::ViewClientSize() {
    return win_->View()->ClientInSurface();
}

QPoint QtUi::ScreenOrigin() const {
    return win_->Flat()->viewport()->mapToGlobal(QPoint(0, 0)) - win_->View()->ScrollInSurface();
}

QPoint QtUi::SurfaceToScreen(QPoint p) {
    return ScreenOrigin() + p;
}

QPoint QtUi::ScreenToSurface(QPoint p) {
    return p - ScreenOrigin();
}

QPoint QtUi::PointerScreenPos() {
    return SurfaceToScreen(win_->View()->PointerSurface());
}

void QtUi::SetPointerScreenPos(QPoint p) {
    win_->View()->PlacePointer(ScreenToSurface(p));
}

std::optional<SurfaceCursor> QtUi::ShownSurfaceCursor() {
    if (busy_) return std::nullopt;
    SurfaceView* view = win_->View();
    const QPoint global = QCursor::pos();
    // Over the surface means over the part the scroll area shows, with no
    // other window (a dialog, a menu) in between.
    QWidget* viewport = win_->Flat()->viewport();
    if (!viewport->rect().contains(viewport->mapFromGlobal(global))) return std::nullopt;
    if (!view->rect().contains(view->mapFromGlobal(global))) return std::nullopt;
    QWidget* top = QApplication::widgetAt(global);
    if (top && top != view) return std::nullopt;
    return view->ModeCursor();
}

// ---- the main window ----

void QtUi::SetWindowBounds(QRect normalBounds, bool maximized) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (normalBounds.isNull() && primary) {
        // Nowhere saved yet: two thirds of the screen, in its middle.
        const QRect area = primary->availableGeometry();
        normalBounds = QRect(QPoint(), area.size() * 2 / 3);
        normalBounds.moveCenter(area.center());
    } else if (normalBounds.isNull()) {
        normalBounds = QRect(190, 100, 560, 420);
    }
    // Bounds saved on a screen that is no longer attached would open the
    // window out of reach; bring its title bar back onto the primary screen.
    const QRect titleBar(normalBounds.topLeft(), QSize(normalBounds.width(), 24));
    bool reachable = false;
    for (const QScreen* s : QGuiApplication::screens())
        reachable = reachable || s->availableGeometry().intersects(titleBar);
    if (!reachable && QGuiApplication::primaryScreen())
        normalBounds.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft() +
                                 QPoint(190, 100));
    win_->move(normalBounds.topLeft());
    win_->resize(normalBounds.size());
    if (maximized) win_->setWindowState(win_->windowState() | Qt::WindowMaximized);
}

void QtUi::CloseMainWindow() {
    win_->close();
}
