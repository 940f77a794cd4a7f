// The one way the core talks to the person. The Qt application implements it
// with real widgets, the tests with a scripted fake, the command-line tool
// non-interactively.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "base/Commands.h"
#include "base/DialogFields.h"
#include "base/ImportFields.h"
#include "base/Progress.h"

namespace usecase {
class TraceSession;
struct TraceChoice;
}  // namespace usecase

enum class DialogId { ZoneForm, ZpotDialog, TitleDialog, AboutDialog, MoveMapDialog };

class Ui {
public:
    virtual ~Ui() = default;

    // ---- message boxes ----
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    virtual bool AskOkCancel(const QString& text, const QString& caption) = 0;
    // 保存 / 破棄 / キャンセル
    virtual SaveChoice AskSaveDiscardCancel(const QString& text, const QString& caption) = 0;
    virtual void Inform(const QString& text, const QString& caption, MsgIcon icon) = 0;
    // Error box whose top-left corner sits at the top-left of the visible drawing.
    virtual void ComposeMessage(const QString& text) = 0;

    // ---- common dialogs; empty / nullopt on cancel ----
    // filter in the "description(*.ext)|*.ext|..." form.
    virtual QString ChooseOpenFile(const QString& filter, const QString& proposed, const QString& defaultExt) = 0;
    virtual QString ChooseSaveFile(const QString& filter, const QString& proposed, const QString& defaultExt) = 0;
    virtual std::optional<QRgb> ChooseColor(QRgb initial) = 0;
    virtual QImage ClipboardImage() = 0;  // null when the clipboard holds no picture

    // ---- the program's own dialogs ----
    // Area-name editor: shows text modally; returns the text and whether the
    // user changed it.
    virtual QString EditAreaNames(const QString& text, bool* changed) = 0;
    virtual bool TitleDialog(TitleFields& f) = 0;
    virtual bool MoveMapDialog(MoveFields& f) = 0;
    virtual void AboutBox() = 0;
    virtual void HelpContents() = 0;
    // Area-position dialog (non-modal): the core drives its contents.
    virtual void ZpotShow(const QStringList& names) = 0;
    virtual void ZpotSelect(int index) = 0;  // 0-based list entry
    virtual std::array<QString, 9> ZpotBoxes() = 0;
    virtual void ZpotSetBoxes(const std::array<QString, 9>& boxes) = 0;
    // The list of problems (non-modal); choosing an entry calls
    // ProblemList::CheckListClick, closing it ProblemList::CheckListClosed. An empty
    // list closes it. A summary names a list other than the check's (the
    // traced edges), which has nothing to repair.
    virtual void CheckListShow(const std::vector<CheckRow>& rows, const QString& summary = {}) = 0;
    // 自動トレース's dialog (modal): the picture with a live preview of the
    // regions `session` would make, a click on a boundary to sample its ink,
    // and the sliders for the gap radius and the smallest region. False
    // when the person cancels.
    virtual bool AutoTraceDialog(usecase::TraceSession& session, usecase::TraceChoice& choice) = 0;
    // 基準点's coordinate dialog (modal); false when the person cancels.
    virtual bool ControlPointDialog(ControlPointFields&) { return false; }
    // The control-point table (non-modal): shown or filled anew while open;
    // its check boxes, numbers, transform list and buttons call the
    // editor's ControlPoints, closing it ControlPoints::TableClosed.
    virtual void ControlPointsShow(const ControlPointTable&) {}
    // The control points' marks over the view moved (they are not on the
    // surface, so no surface repaint brings them along).
    virtual void ControlPointMarksChanged() {}
    // 境界データの読み込み's dialog (modal): layer, name field with a
    // preview, encoding, size and simplification; it calls f.refresh when
    // the layer or the encoding changes. False when the person cancels.
    virtual bool ImportDialog(ImportFields&) { return true; }
    // A report to read at leisure: a headline and any number of lines,
    // scrollable when they are many.
    virtual void ShowReport(const QString& caption, const QString& headline,
                            const QStringList& lines) {
        Inform(lines.isEmpty() ? headline : headline + u'\n' + lines.join(u'\n'), caption,
               MsgIcon::Information);
    }
    // Whether the person asked to stop the long step under way (the
    // progress bar's stop); asked now and then while it runs.
    virtual bool StopRequested() { return false; }

    // ---- command surface ----
    virtual void SetEnabled(Cmd c, bool on) = 0;
    virtual void SetChecked(Cmd c, bool on) = 0;
    virtual void SetCaption(Cmd c, const QString& text) = 0;
    // Mode buttons: the one that is down shows black and bold, the others blue.
    virtual void SetModeButtons(bool inputDown, bool editDown) = 0;
    virtual void SetHintsShown(bool on) = 0;
    // A popup attached to the window opens where the right button is released.
    virtual void AttachPopup(Popup p) = 0;
    virtual void ShowPopupNow(Popup p, QPoint screen) = 0;

    // ---- feedback ----
    virtual void SetBusy(bool on) = 0;  // hourglass
    virtual void SetSurfaceCursor(SurfaceCursor c) = 0;
    virtual void SetMouseXY(const QString& text) = 0;
    // What a command just did, in the status bar until the next one says.
    virtual void ShowStatus(const QString&) {}
    virtual void ShowProgress(bool visible) = 0;
    virtual void SetProgress(int position) = 0;  // 0..100

    // ---- the view of the surface ----
    virtual void SurfaceChanged() = 0;  // repaint (size may have changed)
    // Repaint only this rectangle of the surface (its size is unchanged).
    virtual void SurfaceRegionChanged(const QRect&) { SurfaceChanged(); }
    virtual void RepaintNow() = 0;      // process pending paints before a long step
    virtual QPoint ScrollPos() = 0;
    virtual void SetScrollPos(QPoint p) = 0;
    virtual QSize ViewClientSize() = 0;
    virtual QPoint SurfaceToScreen(QPoint p) = 0;
    virtual QPoint ScreenToSurface(QPoint p) = 0;
    virtual QPoint PointerScreenPos() = 0;
    virtual void SetPointerScreenPos(QPoint p) = 0;
    // The cursor currently shown if the pointer is over the surface, else nullopt.
    virtual std::optional<SurfaceCursor> ShownSurfaceCursor() = 0;

    // ---- the main window ----
    // A null rectangle: no place was saved, the window chooses one.
    virtual void SetWindowBounds(QRect normalBounds, bool maximized) = 0;
    virtual void CloseMainWindow() = 0;
};

// The progress bar of the tool panel, as the person sees it.
inline Progress ProgressOn(Ui& ui) {
    return Progress([ui = &ui](bool v) { ui->ShowProgress(v); },
                    [ui = &ui](int p) { ui->SetProgress(p); });
}
