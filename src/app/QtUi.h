// The Ui of the desktop application: real message boxes, file dialogs and the
// program's own dialogs, all placed next to the main window.
#pragma once

#include <memory>

#include "editor/Ui.h"

class Editor;
class MainWindow;
class AboutDialog;
class HelpWindow;
class ZoneForm;
class ZpotDialog;
class ProblemListDialog;
class ControlPointTableDialog;
class TitleForm;
class MoveMapForm;
class QWidget;
class QProgressDialog;

class QtUi : public Ui {
  public:
    QtUi();
    ~QtUi() override;
    // Creates the dialogs; the window must outlive this Ui's use.
    void Attach(MainWindow* win, Editor& ed);
    MainWindow* Window() const { return win_; }
    AboutDialog* About() const { return about_; }
    HelpWindow* Help() const { return help_; }
    ZoneForm* Zone() const { return zone_; }
    ZpotDialog* Zpot() const { return zpot_; }
    ProblemListDialog* Problems() const { return problems_; }
    ControlPointTableDialog* ControlPointList() const { return controlPoints_; }
    TitleForm* Title() const { return title_; }
    MoveMapForm* MoveMap() const { return move_; }
    // The next file dialog for opening answers path without showing itself
    // (a file dropped on the window); empty clears it.
    void PresetOpenFile(const QString& path) { presetOpen_ = path; }
    // Opens a dialog at its place next to the main window.
    void Place(QWidget* dialog, DialogId d);

    bool AskYesNo(const QString& text, const QString& caption) override;
    bool AskOkCancel(const QString& text, const QString& caption) override;
    SaveChoice AskSaveDiscardCancel(const QString& text, const QString& caption) override;
    void Inform(const QString& text, const QString& caption, MsgIcon icon) override;
    void ComposeMessage(const QString& text) override;
    QString ChooseOpenFile(const QString& filter, const QString& proposed,
                           const QString& defaultExt) override;
    QString ChooseSaveFile(const QString& filter, const QString& proposed,
                           const QString& defaultExt) override;
    std::optional<QRgb> ChooseColor(QRgb initial) override;
    QImage ClipboardImage() override;
    QString EditAreaNames(const QString& text, bool* changed) override;
    bool TitleDialog(TitleFields& f) override;
    bool MoveMapDialog(MoveFields& f) override;
    void AboutBox() override;
    void HelpContents() override;
    void ZpotShow(const QStringList& names) override;
    void ZpotSelect(int index) override;
    std::array<QString, 9> ZpotBoxes() override;
    void ZpotSetBoxes(const std::array<QString, 9>& boxes) override;
    void CheckListShow(const std::vector<CheckRow>& rows, const QString& summary) override;
    bool AutoTraceDialog(usecase::TraceSession& session, usecase::TraceChoice& choice) override;
    bool StopRequested() override;
    bool ControlPointDialog(ControlPointFields& f) override;
    bool ImportDialog(ImportFields& f) override;
    void ShowReport(const QString& caption, const QString& headline,
                    const QStringList& lines) override;
    void ControlPointsShow(const ::ControlPointTable& t) override;
    void ControlPointMarksChanged() override;
    void SetEnabled(Cmd c, bool on) override;
    void SetChecked(Cmd c, bool on) override;
    void SetCaption(Cmd c, const QString& text) override;
    void SetModeButtons(bool inputDown, bool editDown) override;
    void SetHintsShown(bool on) override;
    void AttachPopup(Popup p) override;
    void ShowPopupNow(Popup p, QPoint screen) override;
    void SetBusy(bool on) override;
    void SetSurfaceCursor(SurfaceCursor c) override;
    void SetMouseXY(const QString& text) override;
    void ShowStatus(const QString& text) override;
    void ShowProgress(bool visible) override;
    void SetProgress(int position) override;
    void SurfaceChanged() override;
    void SurfaceRegionChanged(const QRect& r) override;
    void RepaintNow() override;
    QPoint ScrollPos() override;
    void SetScrollPos(QPoint p) override;
    QSize ViewClientSize() override;
    QPoint SurfaceToScreen(QPoint p) override;
    QPoint ScreenToSurface(QPoint p) override;
    QPoint PointerScreenPos() override;
    void SetPointerScreenPos(QPoint p) override;
    std::optional<SurfaceCursor> ShownSurfaceCursor() override;
    void SetWindowBounds(QRect normalBounds, bool maximized) override;
    void CloseMainWindow() override;

  private:
    // Where surface pixel (0, 0) is in the editor's screen positions.
    QPoint ScreenOrigin() const;
    QString FileDialog(bool save, const QString& filter, const QString& proposed,
                       const QString& defaultExt);
    MainWindow* win_ = nullptr;
    AboutDialog* about_ = nullptr;
    HelpWindow* help_ = nullptr;
    ZoneForm* zone_ = nullptr;
    ZpotDialog* zpot_ = nullptr;
    ProblemListDialog* problems_ = nullptr;
    ControlPointTableDialog* controlPoints_ = nullptr;
    TitleForm* title_ = nullptr;
    MoveMapForm* move_ = nullptr;
    bool busy_ = false;
    QString presetOpen_;
    QProgressDialog* stop_ = nullptr;  // while a trace runs
};
