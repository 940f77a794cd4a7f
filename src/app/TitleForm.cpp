// The title dialog: title, time stamp, resolution, magnification and remarks
// of a finished map.
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/Dialogs.h"
#include "base/Messages.h"

namespace {

QLabel* Text(const QString& text, const char* name) {
    auto* l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
}  // namespace

TitleForm::TitleForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TitleDialog"));
    setWindowTitle(msg::Text(Msg::TitleFormCaption));
    setFont(UiFont());
    for (int n = 1; n <= 10; ++n) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("Edit%1").arg(n));
        edits_[size_t(n)] = e;
    }
    for (int n : {5, 6, 7, 9, 10}) edits_[size_t(n)]->setFixedWidth(32);
    edits_[8]->setFixedWidth(46);
    for (int n : {2, 3, 4}) edits_[size_t(n)]->setFixedWidth(60);
    // The date boxes sit on the button-face colour, as on the form they copy.
    for (int n : {8, 9, 10}) {
        QPalette pal = edits_[size_t(n)]->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Button));
        edits_[size_t(n)]->setPalette(pal);
    }
    memo_ = new QPlainTextEdit;
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setTabChangesFocus(true);
    labelX_ = Text(QStringLiteral("0"), "LabelX");
    labelY_ = Text(QStringLiteral("0"), "LabelY");

    auto* title = new QHBoxLayout;
    title->addWidget(Text(msg::Text(Msg::LabelTitle), "Label2"));
    title->addWidget(edits_[1], 1);

    auto* stamp = new QHBoxLayout;
    stamp->addWidget(Text(msg::Text(Msg::LabelStamp), "Label4"));
    stamp->addWidget(edits_[5]);
    stamp->addWidget(Text(msg::Text(Msg::LabelColon), "Label6"));
    stamp->addWidget(edits_[6]);
    stamp->addWidget(Text(msg::Text(Msg::LabelColon), "Label12"));
    stamp->addWidget(edits_[7]);
    stamp->addSpacing(16);
    stamp->addWidget(Text(msg::Text(Msg::LabelDate), "Label15"));
    stamp->addWidget(edits_[8]);
    stamp->addWidget(Text(QStringLiteral("/"), "Label13"));
    stamp->addWidget(edits_[9]);
    stamp->addWidget(Text(QStringLiteral("/"), "Label14"));
    stamp->addWidget(edits_[10]);
    stamp->addStretch(1);

    // Bevel2 frames the extent, the resolution and the magnification.
    auto* bevel = new QFrame;
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* extent = new QHBoxLayout;
    extent->addWidget(Text(msg::Text(Msg::LabelExtentX), "Label3"));
    extent->addWidget(labelX_);
    extent->addWidget(Text(msg::Text(Msg::LabelExtentY), "Label5"));
    extent->addWidget(labelY_);
    extent->addWidget(Text(msg::Text(Msg::LabelExtentEnd), "Label7"));
    extent->addStretch(1);
    auto* res = new QHBoxLayout;
    res->addWidget(Text(msg::Text(Msg::LabelResolution), "Label8"));
    res->addSpacing(8);
    res->addWidget(Text(msg::Text(Msg::LabelResX), "Label10"));
    res->addWidget(edits_[2]);
    res->addWidget(Text(msg::Text(Msg::LabelResY), "Label11"));
    res->addWidget(edits_[3]);
    res->addSpacing(16);
    res->addWidget(Text(msg::Text(Msg::LabelMagnification), "Label9"));
    res->addWidget(edits_[4]);
    res->addStretch(1);
    auto* inBevel = new QVBoxLayout(bevel);
    inBevel->addLayout(extent);
    inBevel->addLayout(res);

    auto* remarks = new QHBoxLayout;
    remarks->addWidget(Text(msg::Text(Msg::LabelRemarks), "Label16"), 0, Qt::AlignTop);
    remarks->addWidget(memo_, 1);

    ok_ = new QPushButton(QStringLiteral("OK"));
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(msg::Text(Msg::ButtonCancel));
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Text(msg::Text(Msg::LabelSaveConditions), "Label1"));
    column->addLayout(title);
    column->addLayout(stamp);
    column->addWidget(bevel);
    column->addLayout(remarks, 1);
    column->addLayout(buttons);

    QWidget* order[] = {edits_[1], edits_[5],  edits_[6], edits_[7], edits_[8],
                        edits_[9], edits_[10], edits_[2], edits_[3], edits_[4],
                        memo_,     ok_,        cancel_};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    setFixedSize(QSize(429, 310).expandedTo(sizeHint()));
}

void TitleForm::Load(const TitleFields& f) {
    edits_[1]->setText(f.title);
    edits_[5]->setText(f.hour);
    edits_[6]->setText(f.minute);
    edits_[7]->setText(f.second);
    edits_[8]->setText(f.year);
    edits_[9]->setText(f.month);
    edits_[10]->setText(f.day);
    labelX_->setText(QString::number(f.maxX));
    labelY_->setText(QString::number(f.maxY));
    edits_[2]->setText(f.resX);
    edits_[3]->setText(f.resY);
    edits_[4]->setText(f.magnification);
    memo_->setPlainText(f.remarks.join(QLatin1Char('\n')));
    edits_[1]->setFocus();
}

void TitleForm::Store(TitleFields& f) const {
    f.title = edits_[1]->text();
    f.hour = edits_[5]->text();
    f.minute = edits_[6]->text();
    f.second = edits_[7]->text();
    f.year = edits_[8]->text();
    f.month = edits_[9]->text();
    f.day = edits_[10]->text();
    f.resX = edits_[2]->text();
    f.resY = edits_[3]->text();
    f.magnification = edits_[4]->text();
    // The lines of the box as a memo lists them: a final line break does not
    // start another line (the writer itself drops one more empty last line).
    f.remarks = memo_->toPlainText().split(QLatin1Char('\n'));
    if (f.remarks.last().isEmpty()) f.remarks.removeLast();
}
