// The about box, the help window and the move/scale dialog.
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/Dialogs.h"
#include "base/Messages.h"

namespace {

Qt::WindowFlags DialogBorder() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}
}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, DialogBorder()) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Velmot"));
    setFont(UiFont());
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setFixedSize(32, 32);

    auto* line = new QLabel(msg::Text(Msg::AboutLine));
    line->setObjectName(QStringLiteral("ProductName"));
    QFont f(QStringLiteral("IPAPMincho"));
    f.setPixelSize(13);
    f.setBold(true);
    line->setFont(f);
    QPalette pal = line->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    line->setPalette(pal);

    auto* version = new QLabel(QStringLiteral("Velmot version 1.22\nOutline maps for ZENKAN"));

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(14);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(line, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(ok, 2, 0, 1, 2, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(msg::Text(Msg::HelpCaption));
    setFont(UiFont());
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    // The pages share one style sheet; the browser does not follow <link>.
    QFile css(QStringLiteral(":/help/style.css"));
    if (css.open(QIODevice::ReadOnly))
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    auto* home = new QPushButton(msg::Text(Msg::ButtonContents));
    auto* back = new QPushButton(msg::Text(Msg::ButtonBack));
    auto* close = new QPushButton(msg::Text(Msg::ButtonClose));
    connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    back->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(browser_, 1);
    resize(640, 560);
}

void HelpWindow::ShowContents() {
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    browser_->clearHistory();
    show();
    raise();
    activateWindow();
}

MoveMapForm::MoveMapForm(QWidget* parent) : QDialog(parent, DialogBorder()) {
    setObjectName(QStringLiteral("MoveMapDialog"));
    setWindowTitle(msg::Text(Msg::MoveCaption));
    setFont(UiFont());
    for (int i = 1; i <= 3; ++i) {
        edits_[size_t(i)] = new QLineEdit;
        edits_[size_t(i)]->setObjectName(QStringLiteral("Edit%1").arg(i));
        edits_[size_t(i)]->setFixedWidth(70);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(msg::Text(Msg::ButtonCancel));
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(msg::Text(Msg::LabelMoveBy)), 0, 0);
    grid->addWidget(new QLabel(msg::Text(Msg::LabelMoveX)), 0, 1, Qt::AlignRight);
    grid->addWidget(edits_[1], 0, 2);
    grid->addWidget(new QLabel(msg::Text(Msg::LabelMoveY)), 0, 3, Qt::AlignRight);
    grid->addWidget(edits_[2], 0, 4);
    grid->addWidget(new QLabel(msg::Text(Msg::LabelScale)), 1, 1, Qt::AlignRight);
    grid->addWidget(edits_[3], 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(msg::Text(Msg::LabelMoveWhole)));
    column->addLayout(grid);
    column->addStretch(1);
    column->addLayout(buttons);
    setFixedSize(QSize(378, 133).expandedTo(sizeHint()));
}

void MoveMapForm::Load(const MoveFields& f) {
    edits_[1]->setText(f.dx);
    edits_[2]->setText(f.dy);
    edits_[3]->setText(f.factor);
    edits_[1]->setFocus();
}

void MoveMapForm::Store(MoveFields& f) const {
    f.dx = edits_[1]->text();
    f.dy = edits_[2]->text();
    f.factor = edits_[3]->text();
}
