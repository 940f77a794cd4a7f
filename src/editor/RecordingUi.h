// The Ui the editor talks to: it passes everything on to the real one and
// remembers the command surface (enabled items, check marks, captions, mode
// buttons, cursor, attached popup) so that an undo step can bring it back.
// While a command runs it also holds back repaint requests, so that the view
// repaints only the region the command changed.
#pragma once

#include <array>
#include <optional>

#include "base/CommandSurface.h"
#include "editor/Ui.h"

class RecordingUi : public Ui, public CommandSurfaceKeeper {
  public:
    explicit RecordingUi(Ui& inner) : in_(inner) {}
    Ui& Inner() { return in_; }

    const CommandSurface& Surface() const override { return s_; }
    // Sets on the real Ui whatever differs between now and `to`. Undo and
    // Redo keep their own state: they follow the history, not the step.
    void Replay(const CommandSurface& to) override;

    // Repaint requests between Hold and Release wait; Release says whether
    // one came, and whether the view was repainted in between (RepaintNow).
    void Hold();
    struct Held {
        bool requested = false, flushed = false;
    };
    Held Release();

    bool AskYesNo(const QString& t, const QString& c) override { return in_.AskYesNo(t, c); }
    bool AskOkCancel(const QString& t, const QString& c) override { return in_.AskOkCancel(t, c); }
    void Inform(const QString& t, const QString& c, MsgIcon i) override { in_.Inform(t, c, i); }
    SaveChoice AskSaveDiscardCancel(const QString& t, const QString& c) override {
        return in_.AskSaveDiscardCancel(t, c);
    }
    void ComposeMessage(const QString& t) override { in_.ComposeMessage(t); }
    QString ChooseOpenFile(const QString& f, const QString& p, const QString& e) override {
        return in_.ChooseOpenFile(f, p, e);
    }
    QString ChooseSaveFile(const QString& f, const QString& p, const QString& e) override {
        return in_.ChooseSaveFile(f, p, e);
    }
    std::optional<QRgb> ChooseColor(QRgb c) override { return in_.ChooseColor(c); }
    QImage ClipboardImage() override { return in_.ClipboardImage(); }
    QString EditAreaNames(const QString& t, bool* changed) override {
        return in_.EditAreaNames(t, changed);
    }
    bool TitleDialog(TitleFields& f) override { return in_.TitleDialog(f); }
    bool MoveMapDialog(MoveFields& f) override { return in_.MoveMapDialog(f); }
    void AboutBox() override { in_.AboutBox(); }
    void HelpContents() override { in_.HelpContents(); }
    void ZpotShow(const QStringList& n) override { in_.ZpotShow(n); }
    void ZpotSelect(int i) override { in_.ZpotSelect(i); }
    std::array<QString, 9> ZpotBoxes() override { return in_.ZpotBoxes(); }
    void ZpotSetBoxes(const std::array<QString, 9>& b) override { in_.ZpotSetBoxes(b); }
    void CheckListShow(const std::vector<CheckRow>& r, const QString& s) override {
        in_.CheckListShow(r, s);
    }
    bool AutoTraceDialog(usecase::TraceSession& s, usecase::TraceChoice& c) override {
        return in_.AutoTraceDialog(s, c);
    }
    bool ControlPointDialog(ControlPointFields& f) override { return in_.ControlPointDialog(f); }
    void ControlPointsShow(const ControlPointTable& t) override { in_.ControlPointsShow(t); }
    void ControlPointMarksChanged() override { in_.ControlPointMarksChanged(); }
    bool ImportDialog(ImportFields& f) override { return in_.ImportDialog(f); }
    void ShowReport(const QString& caption, const QString& headline,
                    const QStringList& lines) override {
        in_.ShowReport(caption, headline, lines);
    }
    bool StopRequested() override { return in_.StopRequested(); }

    void SetEnabled(Cmd c, bool on) override;
    void SetChecked(Cmd c, bool on) override;
    void SetCaption(Cmd c, const QString& text) override;
    void SetModeButtons(bool inputDown, bool editDown) override;
    void SetHintsShown(bool on) override { in_.SetHintsShown(on); }
    void AttachPopup(Popup p) override;
    void ShowPopupNow(Popup p, QPoint screen) override { in_.ShowPopupNow(p, screen); }

    void SetBusy(bool on) override { in_.SetBusy(on); }
    void SetSurfaceCursor(SurfaceCursor c) override;
    void SetMouseXY(const QString& t) override { in_.SetMouseXY(t); }
    void ShowStatus(const QString& t) override { in_.ShowStatus(t); }
    void ShowProgress(bool v) override { in_.ShowProgress(v); }
    void SetProgress(int p) override { in_.SetProgress(p); }

    void SurfaceChanged() override;
    void SurfaceRegionChanged(const QRect& r) override { in_.SurfaceRegionChanged(r); }
    void RepaintNow() override;
    QPoint ScrollPos() override { return in_.ScrollPos(); }
    void SetScrollPos(QPoint p) override { in_.SetScrollPos(p); }
    QSize ViewClientSize() override { return in_.ViewClientSize(); }
    QPoint SurfaceToScreen(QPoint p) override { return in_.SurfaceToScreen(p); }
    QPoint ScreenToSurface(QPoint p) override { return in_.ScreenToSurface(p); }
    QPoint PointerScreenPos() override { return in_.PointerScreenPos(); }
    void SetPointerScreenPos(QPoint p) override { in_.SetPointerScreenPos(p); }
    std::optional<SurfaceCursor> ShownSurfaceCursor() override { return in_.ShownSurfaceCursor(); }

    void SetWindowBounds(QRect r, bool maximized) override { in_.SetWindowBounds(r, maximized); }
    void CloseMainWindow() override { in_.CloseMainWindow(); }

  private:
    Ui& in_;
    CommandSurface s_;
    int hold_ = 0;
    Held held_;
};
