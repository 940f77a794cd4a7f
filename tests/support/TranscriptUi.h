// A scripted Ui that also writes down every call the editor makes, one line
// each with its arguments and answer, and after every repaint request a
// checksum of the surface and of the map. Two builds that drive the same
// session through the doors must write the same lines.
#pragma once

#include <QBuffer>
#include <QCryptographicHash>
#include <QStringList>

#include "formats/WorkFormat.h"
#include "support/FakeUi.h"

class TranscriptUi : public FakeUi {
  public:
    QStringList lines;
    const Editor* ed = nullptr;  // set once the editor exists: the checksums read it
    QString dir;                 // written as <dir>, so runs in other folders compare

    void Note(const QString& line) {
        lines << QString(line)
                     .replace(dir, QStringLiteral("<dir>"))
                     .replace(u'\r', QStringLiteral("\\r"))
                     .replace(u'\n', QStringLiteral("\\n"));
    }

    bool AskYesNo(const QString& t, const QString& c) override {
        return Answer(QStringLiteral("AskYesNo"), {t, c}, FakeUi::AskYesNo(t, c));
    }
    bool AskOkCancel(const QString& t, const QString& c) override {
        return Answer(QStringLiteral("AskOkCancel"), {t, c}, FakeUi::AskOkCancel(t, c));
    }
    SaveChoice AskSaveDiscardCancel(const QString& t, const QString& c) override {
        const SaveChoice s = FakeUi::AskSaveDiscardCancel(t, c);
        Call(QStringLiteral("AskSaveDiscardCancel"), {t, c, QString::number(int(s))});
        return s;
    }
    void Inform(const QString& t, const QString& c, MsgIcon i) override {
        Call(QStringLiteral("Inform"), {t, c, QString::number(int(i))});
        FakeUi::Inform(t, c, i);
    }
    void ComposeMessage(const QString& t) override {
        Call(QStringLiteral("ComposeMessage"), {t});
        FakeUi::ComposeMessage(t);
    }
    QString ChooseOpenFile(const QString& f, const QString& p, const QString& e) override {
        const QString r = FakeUi::ChooseOpenFile(f, p, e);
        Call(QStringLiteral("ChooseOpenFile"), {f, p, e, r});
        return r;
    }
    QString ChooseSaveFile(const QString& f, const QString& p, const QString& e) override {
        const QString r = FakeUi::ChooseOpenFile(f, p, e);
        Call(QStringLiteral("ChooseSaveFile"), {f, p, e, r});
        return r;
    }
    std::optional<QRgb> ChooseColor(QRgb initial) override {
        Call(QStringLiteral("ChooseColor"), {QString::number(initial, 16)});
        return FakeUi::ChooseColor(initial);
    }
    QImage ClipboardImage() override { return Call(QStringLiteral("ClipboardImage"), {}), clipboard; }
    QString EditAreaNames(const QString& t, bool* changed) override {
        const QString r = FakeUi::EditAreaNames(t, changed);
        Call(QStringLiteral("EditAreaNames"), {t, r, QString::number(*changed)});
        return r;
    }
    bool TitleDialog(TitleFields& f) override {
        return Answer(QStringLiteral("TitleDialog"), {}, FakeUi::TitleDialog(f));
    }
    bool MoveMapDialog(MoveFields& f) override {
        return Answer(QStringLiteral("MoveMapDialog"), {}, FakeUi::MoveMapDialog(f));
    }
    void AboutBox() override { Call(QStringLiteral("AboutBox"), {}), FakeUi::AboutBox(); }
    void HelpContents() override { Call(QStringLiteral("HelpContents"), {}), FakeUi::HelpContents(); }
    void ZpotShow(const QStringList& names) override {
        Call(QStringLiteral("ZpotShow"), {QString::number(names.size()), names.join(u',').left(200)});
        FakeUi::ZpotShow(names);
    }
    void ZpotSelect(int i) override { Call(QStringLiteral("ZpotSelect"), {QString::number(i)}), FakeUi::ZpotSelect(i); }
    std::array<QString, 9> ZpotBoxes() override {
        Call(QStringLiteral("ZpotBoxes"), {});
        return FakeUi::ZpotBoxes();
    }
    void ZpotSetBoxes(const std::array<QString, 9>& b) override {
        Call(QStringLiteral("ZpotSetBoxes"), QStringList(b.begin(), b.end()));
        FakeUi::ZpotSetBoxes(b);
    }
    void CheckListShow(const std::vector<CheckRow>& rows, const QString& summary) override {
        QStringList a{summary};
        for (const CheckRow& r : rows)
            a << QStringLiteral("%1/%2 %3 %4 (%5,%6)")
                     .arg(r.area).arg(r.slot).arg(r.name, r.message)
                     .arg(r.place.x()).arg(r.place.y());
        Call(QStringLiteral("CheckListShow"), a);
        FakeUi::CheckListShow(rows, summary);
    }
    void ShowReport(const QString& c, const QString& h, const QStringList& l) override {
        Call(QStringLiteral("ShowReport"), QStringList{c, h} + l);
        FakeUi::ShowReport(c, h, l);
    }
    void SetEnabled(Cmd c, bool on) override { Call(QStringLiteral("SetEnabled"), {Int(c), Int(on)}), FakeUi::SetEnabled(c, on); }
    void SetChecked(Cmd c, bool on) override { Call(QStringLiteral("SetChecked"), {Int(c), Int(on)}), FakeUi::SetChecked(c, on); }
    void SetCaption(Cmd c, const QString& t) override { Call(QStringLiteral("SetCaption"), {Int(c), t}), FakeUi::SetCaption(c, t); }
    void SetModeButtons(bool i, bool e) override { Call(QStringLiteral("SetModeButtons"), {Int(i), Int(e)}), FakeUi::SetModeButtons(i, e); }
    void SetHintsShown(bool on) override { Call(QStringLiteral("SetHintsShown"), {Int(on)}), FakeUi::SetHintsShown(on); }
    void AttachPopup(Popup p) override { Call(QStringLiteral("AttachPopup"), {Int(p)}), FakeUi::AttachPopup(p); }
    void ShowPopupNow(Popup p, QPoint s) override { Call(QStringLiteral("ShowPopupNow"), {Int(p), Pt(s)}), FakeUi::ShowPopupNow(p, s); }
    void SetBusy(bool on) override { Call(QStringLiteral("SetBusy"), {Int(on)}), FakeUi::SetBusy(on); }
    void SetSurfaceCursor(SurfaceCursor c) override { Call(QStringLiteral("SetSurfaceCursor"), {Int(c)}), FakeUi::SetSurfaceCursor(c); }
    void SetMouseXY(const QString& t) override { Call(QStringLiteral("SetMouseXY"), {t}), FakeUi::SetMouseXY(t); }
    void ShowStatus(const QString& t) override { Call(QStringLiteral("ShowStatus"), {t}), FakeUi::ShowStatus(t); }
    void ShowProgress(bool v) override { Call(QStringLiteral("ShowProgress"), {Int(v)}), FakeUi::ShowProgress(v); }
    void SetProgress(int p) override { Call(QStringLiteral("SetProgress"), {Int(p)}), FakeUi::SetProgress(p); }
    void SurfaceChanged() override {
        Call(QStringLiteral("SurfaceChanged"), {Sums()});
        FakeUi::SurfaceChanged();
    }
    void SurfaceRegionChanged(const QRect& r) override {
        Call(QStringLiteral("SurfaceRegionChanged"),
             {QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()), Sums()});
        FakeUi::SurfaceRegionChanged(r);
    }
    void RepaintNow() override { Call(QStringLiteral("RepaintNow"), {}); }
    QPoint ScrollPos() override { return Call(QStringLiteral("ScrollPos"), {}), FakeUi::ScrollPos(); }
    void SetScrollPos(QPoint p) override { Call(QStringLiteral("SetScrollPos"), {Pt(p)}), FakeUi::SetScrollPos(p); }
    QSize ViewClientSize() override { return Call(QStringLiteral("ViewClientSize"), {}), clientSize; }
    QPoint SurfaceToScreen(QPoint p) override { return Call(QStringLiteral("SurfaceToScreen"), {Pt(p)}), FakeUi::SurfaceToScreen(p); }
    QPoint ScreenToSurface(QPoint p) override { return Call(QStringLiteral("ScreenToSurface"), {Pt(p)}), FakeUi::ScreenToSurface(p); }
    QPoint PointerScreenPos() override { return Call(QStringLiteral("PointerScreenPos"), {}), pointer; }
    void SetPointerScreenPos(QPoint p) override { Call(QStringLiteral("SetPointerScreenPos"), {Pt(p)}), FakeUi::SetPointerScreenPos(p); }
    std::optional<SurfaceCursor> ShownSurfaceCursor() override {
        return Call(QStringLiteral("ShownSurfaceCursor"), {}), pointerOverSurface;
    }
    void SetWindowBounds(QRect r, bool m) override {
        Call(QStringLiteral("SetWindowBounds"), {Pt(r.topLeft()), Pt(r.bottomRight()), Int(m)});
        FakeUi::SetWindowBounds(r, m);
    }
    void CloseMainWindow() override { Call(QStringLiteral("CloseMainWindow"), {}), FakeUi::CloseMainWindow(); }

  private:
    template <class T>
    static QString Int(T v) { return QString::number(int(v)); }
    static QString Pt(QPoint p) { return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()); }
    void Call(const QString& name, const QStringList& args) {
        Note(name + u'(' + args.join(QStringLiteral(" | ")) + u')');
    }
    bool Answer(const QString& name, const QStringList& args, bool answer) {
        Call(name, args + QStringList{answer ? QStringLiteral("-> yes") : QStringLiteral("-> no")});
        return answer;
    }
    static QByteArray Digest(QByteArrayView bytes) {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().left(12);
    }
    // The surface's pixels and the map as a work file would hold it, with
    // the flags and mode no file keeps.
    QString Sums() const {
        if (!ed) return {};
        const Surface& s = ed->surf;
        const QByteArray px = Digest(QByteArrayView(reinterpret_cast<const char*>(s.Data()),
                                                    qsizetype(s.Width()) * s.Height()));
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        WriteWork(b, ed->st, "");
        const Store& st = ed->st;
        return QStringLiteral("surface %1x%2 %3 map %4 flags %5%6%7 mode %8")
            .arg(s.Width()).arg(s.Height()).arg(QString::fromLatin1(px))
            .arg(QString::fromLatin1(Digest(b.data())))
            .arg(int(st.Modified)).arg(int(st.Completed)).arg(int(st.Composed))
            .arg(int(st.Mode));
    }
};
