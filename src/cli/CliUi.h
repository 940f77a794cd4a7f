// The Ui of the command-line tool, for the editor code a batch command still
// runs (drawing, the composition's preparation): it never asks the person.
// Every file and choice comes from the command's arguments and goes to the
// use cases directly, so a question or a file dialog is declined. Messages go
// to stderr and are kept, so that a command can report the failure the
// editor would show.
#pragma once

#include <vector>

#include "editor/Ui.h"

class CliUi : public Ui {
  public:
    bool quiet = false;             // keep messages out of stderr
    bool progressOnStderr = false;  // show long operations' progress
    std::vector<QString> messages;  // every message shown, in order

    bool AskYesNo(const QString& text, const QString& caption) override;
    bool AskOkCancel(const QString& text, const QString& caption) override;
    SaveChoice AskSaveDiscardCancel(const QString&, const QString&) override {
        return SaveChoice::Cancel;
    }
    void Inform(const QString& text, const QString& caption, MsgIcon icon) override;
    void ComposeMessage(const QString& text) override;
    QString ChooseOpenFile(const QString&, const QString&, const QString&) override {
        return QString();
    }
    QString ChooseSaveFile(const QString&, const QString&, const QString&) override {
        return QString();
    }
    std::optional<QRgb> ChooseColor(QRgb) override { return std::nullopt; }
    QImage ClipboardImage() override { return QImage(); }
    QString EditAreaNames(const QString& text, bool* changed) override {
        *changed = false;
        return text;
    }
    bool TitleDialog(TitleFields&) override { return false; }
    bool MoveMapDialog(MoveFields&) override { return false; }
    void AboutBox() override {}
    void HelpContents() override {}
    void ZpotShow(const QStringList&) override {}
    void ZpotSelect(int) override {}
    std::array<QString, 9> ZpotBoxes() override { return boxes_; }
    void ZpotSetBoxes(const std::array<QString, 9>& b) override { boxes_ = b; }
    void CheckListShow(const std::vector<CheckRow>&) override {}
    bool AutoTraceDialog(usecase::TraceSession&, usecase::TraceChoice&) override { return false; }
    void SetEnabled(Cmd, bool) override {}
    void SetChecked(Cmd, bool) override {}
    void SetCaption(Cmd, const QString&) override {}
    void SetModeButtons(bool, bool) override {}
    void SetHintsShown(bool) override {}
    void AttachPopup(Popup) override {}
    void ShowPopupNow(Popup, QPoint) override {}
    void SetBusy(bool) override {}
    void SetSurfaceCursor(SurfaceCursor) override {}
    void SetMouseXY(const QString&) override {}
    void ShowProgress(bool visible) override;
    void SetProgress(int position) override;
    void SurfaceChanged() override {}
    void RepaintNow() override {}
    QPoint ScrollPos() override { return scroll_; }
    void SetScrollPos(QPoint p) override { scroll_ = p; }
    QSize ViewClientSize() override { return QSize(1024, 768); }
    QPoint SurfaceToScreen(QPoint p) override { return p - scroll_; }
    QPoint ScreenToSurface(QPoint p) override { return p + scroll_; }
    QPoint PointerScreenPos() override { return QPoint(); }
    void SetPointerScreenPos(QPoint) override {}
    std::optional<SurfaceCursor> ShownSurfaceCursor() override { return std::nullopt; }
    void SetWindowBounds(QRect, bool) override {}
    void CloseMainWindow() override {}

  private:
    void Print(const QString& text);
    std::array<QString, 9> boxes_;
    QPoint scroll_;
    int lastProgress_ = -1;
};
