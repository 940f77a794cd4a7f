#include "app/ControlPointDialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/Artwork.h"
#include "base/Messages.h"
#include "editor/Editor.h"

// ---- the coordinates of one point ----

ControlPointDialog::ControlPointDialog(QWidget* parent, ControlPointFields& f)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), f_(f) {
    setObjectName(QStringLiteral("ControlPointDialog"));
    setWindowTitle(msg::Text(Msg::ControlPointCaption));
    setFont(UiFont());
    x_ = new QLineEdit(f.x);
    y_ = new QLineEdit(f.y);
    x_->setObjectName(QStringLiteral("GroundX"));
    y_->setObjectName(QStringLiteral("GroundY"));
    // The list offers the usual systems by name; any other is typed as EPSG:N.
    crs_ = new QComboBox;
    crs_->setObjectName(QStringLiteral("Crs"));
    crs_->setEditable(true);
    crs_->setInsertPolicy(QComboBox::NoInsert);
    crs_->setMinimumContentsLength(32);
    for (const auto& [code, name] : f.crsChoices) crs_->addItem(code + u' ' + name, code);
    const int known = crs_->findData(f.crs, Qt::UserRole, Qt::MatchFixedString);
    if (known >= 0)
        crs_->setCurrentIndex(known);
    else
        crs_->setEditText(f.crs);
    auto* form = new QFormLayout;
    form->addRow(msg::Text(Msg::LabelGroundX), x_);
    form->addRow(msg::Text(Msg::LabelGroundY), y_);
    form->addRow(msg::Text(Msg::LabelCrs), crs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    x_->setFocus();
}

void ControlPointDialog::accept() {
    f_.x = x_->text();
    f_.y = y_->text();
    // A chosen entry gives its code; typed text is taken as it stands, up to
    // the first space (so "EPSG:6677 JGD2011 ..." typed back still works).
    const int i = crs_->findText(crs_->currentText());
    f_.crs =
        i >= 0 ? crs_->itemData(i).toString() : crs_->currentText().trimmed().section(u' ', 0, 0);
    QDialog::accept();
}

// ---- the table ----

namespace {

// Whether w sits in the main window itself (its menus included), not in
// one of the dialogs that are its children too.
bool InMainWindow(const QWidget* w, const QWidget* main) {
    for (; w && w != main; w = w->parentWidget())
        if (qobject_cast<const QDialog*>(w)) return false;
    return w == main;
}

// The main window's keys, also while this window has the focus: a key with
// Ctrl or Alt or a function key. A plain key stays the table's, for typing.
void ShareMainWindowKeys(QWidget* dialog, QWidget* main) {
    if (!main) return;
    for (QAction* a : main->findChildren<QAction*>()) {
        if (a->shortcuts().isEmpty() || a->shortcutContext() != Qt::WindowShortcut) continue;
        bool mine = false;
        for (QObject* o : a->associatedObjects())
            mine = mine || InMainWindow(qobject_cast<QWidget*>(o), main);
        const QList<QKeySequence> keys = a->shortcuts();
        const bool chords = std::all_of(keys.begin(), keys.end(), [](const QKeySequence& k) {
            const QKeyCombination c = k[0];
            return (c.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
                   (c.key() >= Qt::Key_F1 && c.key() <= Qt::Key_F35);
        });
        if (mine && chords) dialog->addAction(a);
    }
}

enum Column {
    On,
    Number,
    PixelX,
    PixelY,
    GroundX,
    GroundY,
    ResidualPx,
    Residual,
    LeaveOneOut,
    Columns
};

QString Fixed(double v, int decimals) {
    return std::isfinite(v) ? QString::number(v, 'f', decimals) : QStringLiteral("-");
}

}  // namespace

ControlPointTableDialog::ControlPointTableDialog(QWidget* parent, Editor& ed)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ed_(ed) {
    setObjectName(QStringLiteral("ControlPointTableDialog"));
    setWindowTitle(msg::Text(Msg::ControlPointsCaption));
    setFont(UiFont());
    setModal(false);

    method_ = new QComboBox;
    method_->setObjectName(QStringLiteral("TransformMethod"));
    connect(method_, &QComboBox::activated, this, [this](int m) {
        QMetaObject::invokeMethod(
            this, [this, m] { ed_.ControlPointMethod(georef::Method(m)); }, Qt::QueuedConnection);
    });
    crs_ = new QLabel;
    crs_->setObjectName(QStringLiteral("CrsShown"));
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(msg::Text(Msg::LabelTransformMethod)));
    top->addWidget(method_);
    top->addSpacing(16);
    top->addWidget(new QLabel(msg::Text(Msg::LabelCrs)));
    top->addWidget(crs_, 1);

    table_ = new QTableWidget(0, Columns);
    table_->setObjectName(QStringLiteral("ControlPointTable"));
    table_->setHorizontalHeaderLabels(
        {msg::Text(Msg::HeadGcpOn), msg::Text(Msg::HeadGcpNumber), msg::Text(Msg::HeadGcpPixelX),
         msg::Text(Msg::HeadGcpPixelY), msg::Text(Msg::HeadGcpGroundX),
         msg::Text(Msg::HeadGcpGroundY), msg::Text(Msg::HeadGcpResidualPx),
         msg::Text(Msg::HeadGcpResidual), msg::Text(Msg::HeadGcpLeaveOneOut)});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(table_, &QTableWidget::cellChanged, this, &ControlPointTableDialog::CellChanged);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("ControlPointSummary"));
    summary_->setWordWrap(true);
    warnings_ = new QLabel;
    warnings_->setObjectName(QStringLiteral("ControlPointWarnings"));
    warnings_->setWordWrap(true);
    warnings_->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(msg::Text(Msg::ButtonClose));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    toggle_ = buttons->addButton(msg::Text(Msg::ButtonDisable), QDialogButtonBox::ActionRole);
    remove_ = buttons->addButton(msg::Text(Msg::ButtonDelete), QDialogButtonBox::ActionRole);
    toggle_->setObjectName(QStringLiteral("ToggleControlPoint"));
    remove_->setObjectName(QStringLiteral("DeleteControlPoint"));
    connect(toggle_, &QPushButton::clicked, this, [this] {
        const int i = CurrentRow();
        if (i < 0) return;
        const bool on = !shown_.rows[size_t(i)].enabled;
        QMetaObject::invokeMethod(
            this, [this, i, on] { ed_.ControlPointSwitch(i, on); }, Qt::QueuedConnection);
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int i = CurrentRow();
        if (i < 0) return;
        QMetaObject::invokeMethod(
            this, [this, i] { ed_.ControlPointRemove(i); }, Qt::QueuedConnection);
    });
    auto enable = [this] {
        const int i = CurrentRow();
        toggle_->setEnabled(i >= 0);
        remove_->setEnabled(i >= 0);
        if (i >= 0)
            toggle_->setText(
                msg::Text(shown_.rows[size_t(i)].enabled ? Msg::ButtonDisable : Msg::ButtonEnable));
    };
    connect(table_, &QTableWidget::itemSelectionChanged, this, enable);
    enable();

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(table_, 1);
    column->addWidget(summary_);
    column->addWidget(warnings_);
    column->addWidget(buttons);
    resize(700, 280);
    // Saving, undoing or opening must not need a click on the map first; a
    // cell being edited still keeps Ctrl+Z and the like for its own text.
    ShareMainWindowKeys(this, parent);
}

int ControlPointTableDialog::CurrentRow() const {
    const QList<QTableWidgetItem*> chosen = table_->selectedItems();
    const int r = chosen.isEmpty() ? -1 : chosen.first()->row();
    return r >= 0 && size_t(r) < shown_.rows.size() ? r : -1;
}

void ControlPointTableDialog::SetTable(const ControlPointTable& t) {
    if (!t.open) {
        hide();
        return;
    }
    const int keep = CurrentRow();
    filling_ = true;
    shown_ = t;
    if (method_->count() != t.methods.size()) {
        method_->clear();
        method_->addItems(t.methods);
    }
    method_->setCurrentIndex(t.method);
    crs_->setText(t.crs);
    table_->setRowCount(int(t.rows.size()));
    for (int r = 0; r < int(t.rows.size()); ++r) {
        const ControlPointRow& p = t.rows[size_t(r)];
        auto put = [&](int c, const QString& text, bool editable) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(editable ? item->flags() | Qt::ItemIsEditable
                                    : item->flags() & ~Qt::ItemIsEditable);
            if (c >= PixelX) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        };
        auto* on = new QTableWidgetItem;
        on->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        on->setCheckState(p.enabled ? Qt::Checked : Qt::Unchecked);
        table_->setItem(r, On, on);
        put(Number, QString::number(r + 1), false);
        put(PixelX, QString::number(p.px, 'g', 10), true);
        put(PixelY, QString::number(p.py, 'g', 10), true);
        put(GroundX, QString::number(p.x, 'g', 12), true);
        put(GroundY, QString::number(p.y, 'g', 12), true);
        put(ResidualPx, p.fitted ? Fixed(p.residualPx, 3) : QStringLiteral("-"), false);
        put(Residual, p.fitted ? QString::number(p.residual, 'g', 4) : QStringLiteral("-"), false);
        put(LeaveOneOut, p.leftOut ? Fixed(p.leaveOneOutPx, 3) : QStringLiteral("-"), false);
    }
    table_->resizeColumnsToContents();
    summary_->setText(t.summary);
    warnings_->setText(t.warnings.join(u'\n'));
    warnings_->setVisible(!t.warnings.isEmpty());
    if (keep >= 0 && keep < table_->rowCount()) table_->selectRow(keep);
    filling_ = false;
    emit table_->itemSelectionChanged();
    if (!placed_ && parentWidget()) {
        // Beside the main window where the screen has room, else over its
        // lower right corner, where it hides least of the map.
        const QRect main = parentWidget()->frameGeometry();
        QPoint at(main.right() + 8, main.bottom() - height());
        const QScreen* screen = parentWidget()->screen();
        if (!screen || at.x() + width() > screen->availableGeometry().right())
            at = QPoint(main.right() - width() - 16, main.bottom() - height() - 16);
        if (screen) {
            const QRect room = screen->availableGeometry();
            at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
            at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
        }
        move(at);
        placed_ = true;
    }
    if (!isVisible()) show();
}

void ControlPointTableDialog::CellChanged(int row, int column) {
    if (filling_ || row < 0 || size_t(row) >= shown_.rows.size()) return;
    const ControlPointRow& p = shown_.rows[size_t(row)];
    if (column == On) {
        const bool on = table_->item(row, On)->checkState() == Qt::Checked;
        if (on != p.enabled)
            QMetaObject::invokeMethod(
                this, [this, row, on] { ed_.ControlPointSwitch(row, on); }, Qt::QueuedConnection);
        return;
    }
    double v[4] = {p.px, p.py, p.x, p.y};
    if (column < PixelX || column > GroundY) return;
    bool ok = false;
    const double typed = table_->item(row, column)->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed)) {
        // Not a number: the cell shows the point's own again.
        QMetaObject::invokeMethod(
            this, [this] { SetTable(shown_); }, Qt::QueuedConnection);
        return;
    }
    v[column - PixelX] = typed;
    QMetaObject::invokeMethod(
        this,
        [this, row, a = v[0], b = v[1], c = v[2], d = v[3]] {
            ed_.ControlPointNumbers(row, a, b, c, d);
        },
        Qt::QueuedConnection);
}

void ControlPointTableDialog::closeEvent(QCloseEvent* e) {
    ed_.ControlPointTableClosed();
    e->accept();
}
