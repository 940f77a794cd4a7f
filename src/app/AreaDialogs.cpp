// The area-name editor and the area-position dialog.
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/Dialogs.h"
#include "base/Messages.h"
#include "editor/Editor.h"

namespace {}  // namespace

ZoneForm::ZoneForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ZoneForm"));
    setWindowTitle(msg::Text(Msg::AreaNamesCaption));
    setFont(UiFont());
    memo_ = new QPlainTextEdit;
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setFixedWidth(193);

    auto* label = new QLabel(msg::Text(Msg::AreaNamesHelp));
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* ok = new QPushButton(msg::Text(Msg::ButtonDone));
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(label, 1);
    side->addWidget(ok);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 8, 8);
    row->addWidget(memo_);
    row->addLayout(side, 1);
    setFixedSize(282, 241);
}

void ZoneForm::SetText(const QString& crlfText) {
    QString t = crlfText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A final line break would show as an extra empty line in the box.
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    memo_->setPlainText(t);
    memo_->document()->setModified(false);
    cancelled_ = false;
    memo_->moveCursor(QTextCursor::Start);
    memo_->setFocus();
}

QString ZoneForm::Text() const {
    QString t = memo_->toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

bool ZoneForm::Changed() const {
    return memo_->document()->isModified();
}

void ZoneForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) cancelled_ = true;
    QDialog::keyPressEvent(e);
}

ZpotDialog::ZpotDialog(QWidget* parent, Editor& ed)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      ed_(ed) {
    setObjectName(QStringLiteral("ZpotDialog"));
    setWindowTitle(msg::Text(Msg::AreaPosCaption));
    setFont(UiFont());
    setModal(false);

    auto* label = new QLabel(msg::Text(Msg::AreaPosHelp));
    label->setObjectName(QStringLiteral("Label1"));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("ListBox1"));
    // The chosen name shows as chosen while the focus is in the boxes or on
    // the map, not only while the list has it.
    QPalette pal = list_->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    list_->setPalette(pal);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0) ed_.ZpotListClick(row);
    });

    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    for (int i = 0; i < 9; ++i) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        e->setFixedWidth(100);
        boxes_[size_t(i)] = e;
        column->addWidget(e);
    }
    column->addStretch(1);

    redraw_ = new QPushButton(msg::Text(Msg::ButtonRepaint));
    redraw_->setObjectName(QStringLiteral("ReDrawBtn"));
    redraw_->setAutoDefault(false);
    done_ = new QPushButton(msg::Text(Msg::ButtonDone));
    done_->setObjectName(QStringLiteral("OkBtn"));
    done_->setAutoDefault(false);
    connect(redraw_, &QPushButton::clicked, this, [this] { ed_.ZpotRedrawClick(); });
    connect(done_, &QPushButton::clicked, this, [this] { close(); });

    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(column);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(redraw_);
    buttons->addWidget(done_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(label);
    outer->addLayout(body, 1);
    outer->addLayout(buttons);
    resize(QSize(339, 247).expandedTo(sizeHint()));
}

void ZpotDialog::SetNames(const QStringList& names) {
    filling_ = true;
    list_->clear();
    list_->addItems(names);
    filling_ = false;
}

void ZpotDialog::Select(int index) {
    filling_ = true;
    list_->setCurrentRow(index);
    if (QListWidgetItem* item = list_->item(index)) list_->scrollToItem(item);
    filling_ = false;
}

std::array<QString, 9> ZpotDialog::Boxes() const {
    std::array<QString, 9> out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = boxes_[i]->text();
    return out;
}

void ZpotDialog::SetBoxes(const std::array<QString, 9>& boxes) {
    for (size_t i = 0; i < boxes.size(); ++i) boxes_[i]->setText(boxes[i]);
}

void ZpotDialog::closeEvent(QCloseEvent* e) {
    // The editor takes the boxes over first; a box it cannot read keeps the
    // dialog open so the person can correct it.
    if (ed_.ZpotClose())
        e->accept();
    else
        e->ignore();
}

void ZpotDialog::reject() {
    close();
}
