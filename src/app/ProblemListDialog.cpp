#include "app/ProblemListDialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/Artwork.h"
#include "base/Messages.h"
#include "editor/Editor.h"

namespace {

// Numbers sort as numbers, not as texts.
class Row : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& o) const override {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(c, Qt::UserRole + 1), b = o.data(c, Qt::UserRole + 1);
        if (a.isValid() && b.isValid()) return a.toLongLong() < b.toLongLong();
        return QTreeWidgetItem::operator<(o);
    }
};

}  // namespace

ProblemListDialog::ProblemListDialog(QWidget* parent, Editor& ed)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ed_(ed) {
    setObjectName(QStringLiteral("ProblemListDialog"));
    setWindowTitle(msg::Text(Msg::CapCheckAreas));
    setFont(UiFont());
    setModal(false);

    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("ProblemList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({msg::Text(Msg::HeadArea), msg::Text(Msg::HeadAreaName),
                            msg::Text(Msg::HeadPosition), msg::Text(Msg::HeadReason),
                            msg::Text(Msg::HeadPlace)});
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::AscendingOrder);
    // A row chosen anew, or clicked again once the map was touched and its
    // mark taken back, goes to the editor once the signal is done: a map
    // changed since the check makes the editor fill this list anew.
    auto choose = [this](QTreeWidgetItem* item) {
        const int i = item->data(0, Qt::UserRole).toInt();
        message_->setText(rows_[size_t(i)].message);
        QMetaObject::invokeMethod(
            this, [this, i] { ed_.CheckListClick(i); }, Qt::QueuedConnection);
    };
    connect(list_, &QTreeWidget::currentItemChanged, this, [this, choose](QTreeWidgetItem* item) {
        if (filling_ || !item) return;
        changed_ = true;
        choose(item);
    });
    connect(list_, &QTreeWidget::itemClicked, this, [this, choose](QTreeWidgetItem* item) {
        if (!std::exchange(changed_, false)) choose(item);
    });

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("ProblemMessage"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(msg::Text(Msg::ButtonClose));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    // Repairs of the chosen row's problem, or of every row of its kind.
    repair_ = buttons->addButton(msg::Text(Msg::RepairButton), QDialogButtonBox::ActionRole);
    repairAll_ = buttons->addButton(msg::Text(Msg::RepairAllButton), QDialogButtonBox::ActionRole);
    repair_->setObjectName(QStringLiteral("RepairButton"));
    repairAll_->setObjectName(QStringLiteral("RepairAllButton"));
    auto repair = [this](bool all) {
        const QTreeWidgetItem* item = list_->currentItem();
        if (!item) return;
        const int i = item->data(0, Qt::UserRole).toInt();
        QMetaObject::invokeMethod(
            this, [this, i, all] { ed_.CheckListRepair(i, all); }, Qt::QueuedConnection);
    };
    connect(repair_, &QPushButton::clicked, this, [repair] { repair(false); });
    connect(repairAll_, &QPushButton::clicked, this, [repair] { repair(true); });
    auto enable = [this] {
        const bool chosen = list_->currentItem() != nullptr;
        repair_->setEnabled(chosen);
        repairAll_->setEnabled(chosen);
    };
    connect(list_, &QTreeWidget::currentItemChanged, this, enable);
    enable();

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(list_, 1);
    outer->addWidget(message_);
    outer->addWidget(buttons);
    resize(520, 300);
}

void ProblemListDialog::SetRows(const std::vector<CheckRow>& rows, const QString& summary) {
    filling_ = true;
    rows_ = rows;
    list_->clear();
    list_->setSortingEnabled(false);
    for (size_t i = 0; i < rows.size(); ++i) {
        const CheckRow& r = rows[i];
        auto* item = new Row(list_);
        item->setText(0, QString::number(r.area));
        item->setText(1, r.name);
        item->setText(2, QString::number(r.slot + 1));
        item->setText(3, r.reason);
        item->setText(4, QStringLiteral("(%1,%2)").arg(r.place.x()).arg(r.place.y()));
        item->setToolTip(3, r.message);
        item->setData(0, Qt::UserRole, int(i));
        item->setData(0, Qt::UserRole + 1, r.area);
        item->setData(2, Qt::UserRole + 1, r.slot);
    }
    list_->setSortingEnabled(true);
    for (int c = 0; c < list_->columnCount(); ++c) list_->resizeColumnToContents(c);
    list_->setCurrentItem(nullptr);
    message_->setText(summary.isEmpty() ? msg::Text(Msg::ProblemsFound).arg(rows.size()) : summary);
    // The traced edges are the trace's to question, not the check's to repair.
    repair_->setVisible(summary.isEmpty());
    repairAll_->setVisible(summary.isEmpty());
    // Nor have they an area name or a position box: the first column
    // numbers them.
    list_->setColumnHidden(1, !summary.isEmpty());
    list_->setColumnHidden(2, !summary.isEmpty());
    setWindowTitle(msg::Text(summary.isEmpty() ? Msg::CapCheckAreas : Msg::CapAutoTrace));
    filling_ = false;
    if (rows.empty()) {
        hide();
        return;
    }
    if (!placed_ && parentWidget()) {
        // Beside the map's right edge, where it hides little of the drawing.
        const QRect main = parentWidget()->frameGeometry();
        QPoint at(main.right() - width() - 16, main.top() + 80);
        if (const QScreen* screen = parentWidget()->screen()) {
            const QRect room = screen->availableGeometry();
            at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
            at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
        }
        move(at);
        placed_ = true;
    }
    show();
    raise();
}

void ProblemListDialog::closeEvent(QCloseEvent* e) {
    ed_.CheckListClosed();
    e->accept();
}
