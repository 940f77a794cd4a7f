#include "app/ImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "base/Messages.h"

ImportDialog::ImportDialog(QWidget* parent, ImportFields& f)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), f_(f) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(msg::Text(Msg::CapImportBoundaries));
    setFont(UiFont());

    layer_ = new QComboBox;
    layer_->setObjectName(QStringLiteral("ImportLayer"));
    attributes_ = new QTableWidget(0, 2);
    attributes_->setObjectName(QStringLiteral("ImportAttributes"));
    attributes_->setHorizontalHeaderLabels(
        {msg::Text(Msg::HeadImportAttribute), msg::Text(Msg::HeadImportPreview)});
    attributes_->setSelectionBehavior(QAbstractItemView::SelectRows);
    attributes_->setSelectionMode(QAbstractItemView::SingleSelection);
    attributes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    attributes_->verticalHeader()->hide();
    attributes_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    attributes_->horizontalHeader()->setStretchLastSection(true);
    attributes_->setMinimumSize(480, 200);
    encoding_ = new QComboBox;
    encoding_->setObjectName(QStringLiteral("ImportEncoding"));
    encodingLabel_ = new QLabel(msg::Text(Msg::LabelImportEncoding));
    width_ = new QSpinBox;
    height_ = new QSpinBox;
    width_->setObjectName(QStringLiteral("ImportWidth"));
    height_->setObjectName(QStringLiteral("ImportHeight"));
    for (QSpinBox* b : {width_, height_}) b->setRange(50, 32767);
    width_->setValue(f.width);
    height_->setValue(f.height);
    simplify_ = new QDoubleSpinBox;
    simplify_->setObjectName(QStringLiteral("ImportSimplify"));
    simplify_->setRange(0, 50);
    simplify_->setDecimals(1);
    simplify_->setSingleStep(0.5);
    simplify_->setValue(f.simplify);

    auto* size = new QHBoxLayout;
    size->addWidget(width_);
    size->addWidget(new QLabel(QStringLiteral("×")));
    size->addWidget(height_);
    size->addStretch();
    auto* form = new QFormLayout;
    form->addRow(msg::Text(Msg::LabelImportLayer), layer_);
    form->addRow(encodingLabel_, encoding_);
    form->addRow(new QLabel(msg::Text(Msg::LabelImportNameField)));
    form->addRow(attributes_);
    form->addRow(msg::Text(Msg::LabelImportSize), size);
    auto* simplify = new QHBoxLayout;  // a number, not a line of text
    simplify->addWidget(simplify_);
    simplify->addStretch();
    form->addRow(msg::Text(Msg::LabelImportSimplify), simplify);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(layer_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(encoding_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    Fill();
}

void ImportDialog::Take() {
    f_.layer = layer_->currentText();
    f_.encoding = encoding_->currentData().toString();
    const int row = attributes_->currentRow();
    if (row >= 0) f_.nameField = attributes_->item(row, 0)->text();
    f_.width = width_->value();
    f_.height = height_->value();
    f_.simplify = simplify_->value();
}

void ImportDialog::Refresh() {
    if (filling_) return;
    Take();
    if (f_.refresh) f_.refresh(f_);
    Fill();
}

void ImportDialog::Fill() {
    filling_ = true;
    layer_->clear();
    layer_->addItems(f_.layers);
    layer_->setCurrentText(f_.layer);
    layer_->setEnabled(f_.layers.size() > 1);

    encoding_->clear();
    for (const QString& e : f_.encodings)
        encoding_->addItem(e.compare(f_.encodingFound, Qt::CaseInsensitive) == 0
                               ? msg::Format(Msg::ImportEncodingFound, {e})
                               : e,
                           e);
    encoding_->setCurrentIndex(std::max(0, encoding_->findData(f_.encoding)));
    // Only a Shapefile's table can be read one way or another.
    encoding_->setVisible(!f_.encodings.isEmpty());
    encodingLabel_->setVisible(!f_.encodings.isEmpty());

    attributes_->setRowCount(int(f_.attributes.size()));
    for (int i = 0; i < int(f_.attributes.size()); ++i) {
        const ImportAttribute& a = f_.attributes[size_t(i)];
        attributes_->setItem(i, 0, new QTableWidgetItem(a.name));
        attributes_->setItem(i, 1, new QTableWidgetItem(a.preview.join(QStringLiteral(", "))));
        if (a.name == f_.nameField) attributes_->selectRow(i);
    }
    filling_ = false;
}

void ImportDialog::accept() {
    Take();
    QDialog::accept();
}

ReportDialog::ReportDialog(QWidget* parent, const QString& caption, const QString& headline,
                           const QStringList& lines)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ReportDialog"));
    setWindowTitle(caption);
    setFont(UiFont());
    auto* column = new QVBoxLayout(this);
    auto* head = new QLabel(headline);
    head->setObjectName(QStringLiteral("ReportHeadline"));
    head->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(head);
    if (!lines.isEmpty()) {
        lines_ = new QPlainTextEdit;
        lines_->setObjectName(QStringLiteral("ReportLines"));
        lines_->setReadOnly(true);
        lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
        lines_->setPlainText(lines.join(u'\n'));
        lines_->setMinimumSize(560, 240);
        column->addWidget(lines_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
}
