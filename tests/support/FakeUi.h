// A scripted Ui for driving the core headless: answers come from queues or
// hooks, and everything shown is recorded for the test to look at.
#pragma once

#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "editor/Editor.h"
#include "editor/Ui.h"
#include "usecases/Trace.h"
#include "support/EditMap.h"

struct ShownMessage {
    enum Kind { YesNo, OkCancel, Info, Compose, SaveDiscard } kind;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
};

class FakeUi : public Ui {
  public:
    // ---- scripted answers ----
    std::deque<bool> answers;  // for AskYesNo / AskOkCancel; empty: defaultAnswer
    bool defaultAnswer = true;
    std::deque<SaveChoice> saveChoices;  // for AskSaveDiscardCancel; empty: Cancel
    std::deque<QString> files;           // for ChooseOpenFile / ChooseSaveFile; empty: cancel
    std::optional<QRgb> color;           // ChooseColor answer
    QImage clipboard;
    std::function<QString(const QString&, bool*)> onEditAreaNames;
    std::function<bool(TitleFields&)> onTitleDialog;
    std::function<bool(MoveFields&)> onMoveMapDialog;

    // ---- what was shown ----
    std::vector<ShownMessage> messages;
    std::vector<QString> fileFilters;  // filter of every file dialog, in order
    std::vector<QString> proposedNames;
    std::map<Cmd, bool> enabled;
    std::map<Cmd, bool> checked;
    std::map<Cmd, QString> captions;
    bool inputDown = true, editDown = false;
    bool hintsShown = true;
    Popup attached = Popup::None;
    Popup shown = Popup::None;
    QPoint shownAt;
    int popupsShown = 0;
    bool busy = false;
    SurfaceCursor cursor = SurfaceCursor::CrossLine;
    QString mouseXY = "1:1";
    bool progressVisible = false;
    int progressPos = 0;
    int surfaceChanges = 0;
    std::vector<QRect> regions;  // partial repaints, in surface pixels
    int aboutShown = 0, helpShown = 0;
    QStringList zpotNames;
    int zpotSelected = -1;
    bool zpotVisible = false;
    std::array<QString, 9> zpotBoxes;
    std::vector<CheckRow> checkRows;
    QString checkSummary, status;
    bool checkListVisible = false;
    // 自動トレース: what the dialog answers (none: cancel), how often it
    // opened and how many regions its first preview showed; the stop is
    // pressed at the stopAt-th question (-1: never).
    std::optional<usecase::TraceChoice> traceChoice;
    int traceDialogs = 0, tracePreviewRegions = -1, stopAt = -1, stopAsked = 0;
    // 基準点: the coordinate dialog's answers (empty: cancel), what it was
    // last shown, the table as last shown, and how often the marks moved.
    std::deque<ControlPointFields> controlPointAnswers;
    ControlPointFields controlPointAsked;
    int controlPointDialogs = 0;
    ControlPointTable controlTable;
    int controlMarksChanged = 0;
    // 境界データの読み込み: the dialog as last shown (after the hook), how
    // often it opened, the hook that answers it (none: OK as proposed), and
    // the last report.
    std::function<bool(ImportFields&)> onImportDialog;
    ImportFields importAsked;
    int importDialogs = 0;
    QString reportHeadline;
    QStringList reportLines;
    QRect windowBounds;
    bool windowMaximized = false;
    bool closeRequested = false;

    // ---- the view ----
    QPoint scroll{0, 0};
    QSize clientSize{800, 600};
    QPoint viewOrigin{100, 100};  // screen position of surface (0,0) at scroll (0,0)
    QPoint pointer{0, 0};         // screen position
    std::optional<SurfaceCursor> pointerOverSurface;  // nullopt: pointer elsewhere

    // Last message text, or empty.
    QString LastText() const { return messages.empty() ? QString() : messages.back().text; }
    bool Enabled(Cmd c) const {
        auto it = enabled.find(c);
        return it == enabled.end() ? true : it->second;
    }
    bool Checked(Cmd c) const {
        auto it = checked.find(c);
        return it != checked.end() && it->second;
    }

    bool AskYesNo(const QString& text, const QString& caption) override;
    bool AskOkCancel(const QString& text, const QString& caption) override;
    SaveChoice AskSaveDiscardCancel(const QString& text, const QString& caption) override;
    void Inform(const QString& text, const QString& caption, MsgIcon icon) override;
    void ComposeMessage(const QString& text) override;
    QString ChooseOpenFile(const QString& filter, const QString& proposed,
                           const QString& ext) override;
    QString ChooseSaveFile(const QString& filter, const QString& proposed,
                           const QString& ext) override;
    std::optional<QRgb> ChooseColor(QRgb initial) override;
    QImage ClipboardImage() override { return clipboard; }
    QString EditAreaNames(const QString& text, bool* changed) override;
    bool TitleDialog(TitleFields& f) override;
    bool MoveMapDialog(MoveFields& f) override;
    void AboutBox() override { ++aboutShown; }
    void HelpContents() override { ++helpShown; }
    void ZpotShow(const QStringList& names) override;
    void ZpotSelect(int index) override { zpotSelected = index; }
    std::array<QString, 9> ZpotBoxes() override { return zpotBoxes; }
    void ZpotSetBoxes(const std::array<QString, 9>& b) override { zpotBoxes = b; }
    void CheckListShow(const std::vector<CheckRow>& rows, const QString& summary) override {
        checkRows = rows;
        checkSummary = summary;
        checkListVisible = !rows.empty();
    }
    bool AutoTraceDialog(usecase::TraceSession& session, usecase::TraceChoice& choice) override;
    bool StopRequested() override { return stopAt >= 0 && ++stopAsked >= stopAt; }
    bool ControlPointDialog(ControlPointFields& f) override {
        ++controlPointDialogs;
        controlPointAsked = f;
        if (controlPointAnswers.empty()) return false;
        const ControlPointFields a = controlPointAnswers.front();
        controlPointAnswers.pop_front();
        f.x = a.x, f.y = a.y, f.crs = a.crs;
        return true;
    }
    void ControlPointsShow(const ControlPointTable& t) override { controlTable = t; }
    bool ImportDialog(ImportFields& f) override {
        ++importDialogs;
        const bool ok = onImportDialog ? onImportDialog(f) : true;
        importAsked = f;
        return ok;
    }
    void ShowReport(const QString& caption, const QString& headline,
                    const QStringList& lines) override {
        reportHeadline = headline;
        reportLines = lines;
        messages.push_back({ShownMessage::Info, headline, caption, MsgIcon::Information});
    }
    void ControlPointMarksChanged() override { ++controlMarksChanged; }
    void SetEnabled(Cmd c, bool on) override { enabled[c] = on; }
    void SetChecked(Cmd c, bool on) override { checked[c] = on; }
    void SetCaption(Cmd c, const QString& t) override { captions[c] = t; }
    void SetModeButtons(bool in, bool ed) override {
        inputDown = in;
        editDown = ed;
    }
    void SetHintsShown(bool on) override { hintsShown = on; }
    void AttachPopup(Popup p) override { attached = p; }
    void ShowPopupNow(Popup p, QPoint screen) override;
    void SetBusy(bool on) override { busy = on; }
    void SetSurfaceCursor(SurfaceCursor c) override { cursor = c; }
    void SetMouseXY(const QString& t) override { mouseXY = t; }
    void ShowStatus(const QString& t) override { status = t; }
    void ShowProgress(bool v) override { progressVisible = v; }
    void SetProgress(int p) override { progressPos = p; }
    void SurfaceChanged() override { ++surfaceChanges; }
    void SurfaceRegionChanged(const QRect& r) override {
        ++surfaceChanges;
        regions.push_back(r);
    }
    void RepaintNow() override {}
    QPoint ScrollPos() override { return scroll; }
    void SetScrollPos(QPoint p) override {
        scroll = QPoint(std::max(0, p.x()), std::max(0, p.y()));
    }
    QSize ViewClientSize() override { return clientSize; }
    QPoint SurfaceToScreen(QPoint p) override { return p - scroll + viewOrigin; }
    QPoint ScreenToSurface(QPoint p) override { return p - viewOrigin + scroll; }
    QPoint PointerScreenPos() override { return pointer; }
    void SetPointerScreenPos(QPoint p) override { pointer = p; }
    std::optional<SurfaceCursor> ShownSurfaceCursor() override { return pointerOverSurface; }
    void SetWindowBounds(QRect r, bool maximized) override {
        windowBounds = r;
        windowMaximized = maximized;
    }
    void CloseMainWindow() override { closeRequested = true; }
};

// Settings and temporary files in `dir`, a black surface of w x h.
void PrepareTestEditor(Editor& ed, const QTemporaryDir& dir, int w, int h);

// An editor on a fake Ui with a black surface of the given size, temporary
// files in a private directory, and the settings in that directory too.
struct TestEditor {
    explicit TestEditor(int w = 640, int h = 480);
    ~TestEditor();
    std::unique_ptr<QTemporaryDir> dir;
    FakeUi ui;
    Editor ed{ui};
    const Store& st() const { return ed.st; }
    template <class F>
    void Edit(F&& change) {
        EditMap(ed, std::forward<F>(change));
    }
    // Convenience: append a chain of points followed by a separator.
    void Chain(std::initializer_list<std::pair<int, int>> pts, bool end = true);
    // Every record of the point list, as (x, y) pairs.
    std::vector<Rec> Points() const { return ed.st.PointsToVector(); }
    QString Path(const QString& name) const { return dir->filePath(name); }
};
