#include "support/FakeUi.h"

bool FakeUi::AskYesNo(const QString& text, const QString& caption) {
    messages.push_back({ShownMessage::YesNo, text, caption, MsgIcon::None});
    if (answers.empty()) return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
}

SaveChoice FakeUi::AskSaveDiscardCancel(const QString& text, const QString& caption) {
    messages.push_back({ShownMessage::SaveDiscard, text, caption, MsgIcon::None});
    if (saveChoices.empty()) return SaveChoice::Cancel;
    const SaveChoice c = saveChoices.front();
    saveChoices.pop_front();
    return c;
}

bool FakeUi::AskOkCancel(const QString& text, const QString& caption) {
    messages.push_back({ShownMessage::OkCancel, text, caption, MsgIcon::None});
    if (answers.empty()) return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
}

void FakeUi::Inform(const QString& text, const QString& caption, MsgIcon icon) {
    messages.push_back({ShownMessage::Info, text, caption, icon});
}

void FakeUi::ComposeMessage(const QString& text) {
    messages.push_back({ShownMessage::Compose, text, QString(), MsgIcon::Error});
}

QString FakeUi::ChooseOpenFile(const QString& filter, const QString& proposed, const QString&) {
    fileFilters.push_back(filter);
    proposedNames.push_back(proposed);
    if (files.empty()) return QString();
    QString f = files.front();
    files.pop_front();
    return f;
}

QString FakeUi::ChooseSaveFile(const QString& filter, const QString& proposed, const QString& ext) {
    return ChooseOpenFile(filter, proposed, ext);
}

std::optional<QRgb> FakeUi::ChooseColor(QRgb) {
    return color;
}

QString FakeUi::EditAreaNames(const QString& text, bool* changed) {
    if (onEditAreaNames) return onEditAreaNames(text, changed);
    *changed = false;
    return text;
}

bool FakeUi::TitleDialog(TitleFields& f) {
    return onTitleDialog ? onTitleDialog(f) : true;
}

bool FakeUi::MoveMapDialog(MoveFields& f) {
    return onMoveMapDialog ? onMoveMapDialog(f) : false;
}

void FakeUi::ZpotShow(const QStringList& names) {
    zpotNames = names;
    zpotVisible = true;
}

void FakeUi::ShowPopupNow(Popup p, QPoint screen) {
    shown = p;
    shownAt = screen;
    ++popupsShown;
}

void PrepareTestEditor(Editor& ed, const QTemporaryDir& dir, int w, int h) {
    ed.settings.dir = dir.path();
    ed.temps.dir = dir.path();
    ed.temps.picture = dir.filePath("mappic.tmp");
    ed.temps.second = dir.filePath("map2.tmp");
    ed.temps.third = dir.filePath("map3.tmp");
    ed.surf.Resize(w, h);
    ed.surf.Fill(Black);
    ed.doc.SetExtent(int16_t(w), int16_t(h));
}

TestEditor::TestEditor(int w, int h) : dir(std::make_unique<QTemporaryDir>()) {
    PrepareTestEditor(ed, *dir, w, h);
}

TestEditor::~TestEditor() = default;

void TestEditor::Chain(std::initializer_list<std::pair<int, int>> pts, bool end) {
    for (auto [x, y] : pts) ed.doc.AppendPoint(int16_t(x), int16_t(y));
    if (end) ed.doc.AppendPoint(0, 0);
}

bool FakeUi::AutoTraceDialog(usecase::TraceSession& session, usecase::TraceChoice& choice) {
    ++traceDialogs;
    int gap = 0, minArea = 0;
    session.Preview(traceChoice.value_or(usecase::TraceChoice{}), &tracePreviewRegions, &gap, &minArea);
    if (!traceChoice) return false;
    choice = *traceChoice;
    return true;
}
