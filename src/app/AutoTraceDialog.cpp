#include "app/AutoTraceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "base/Messages.h"
#include "trace/Trace.h"

AutoTraceDialog::AutoTraceDialog(QWidget* parent, usecase::TraceSession& session,
                                 usecase::TraceChoice& choice)
    : QDialog(parent), session_(session), choice_(choice) {
    setWindowTitle(msg::Text(Msg::CapAutoTrace));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(msg::Text(Msg::TraceSampleHint), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    preview_ = new QLabel(this);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setCursor(Qt::CrossCursor);
    preview_->installEventFilter(this);
    layout->addWidget(preview_, 1);
    auto* form = new QFormLayout;
    gap_ = new QSlider(Qt::Horizontal, this);
    gap_->setRange(0, trace::kMaxGap);
    area_ = new QSlider(Qt::Horizontal, this);
    area_->setRange(1, 5000);
    form->addRow(msg::Text(Msg::TraceGap), gap_);
    form->addRow(msg::Text(Msg::TraceMinArea), area_);
    layout->addLayout(form);
    count_ = new QLabel(this);
    ink_ = new QLabel(msg::Text(Msg::TraceInkAuto), this);
    layout->addWidget(count_);
    layout->addWidget(ink_);
    auto* positions = new QCheckBox(msg::Text(Msg::TracePositions), this);
    positions->setObjectName(QStringLiteral("TracePositions"));
    positions->setChecked(choice_.positions);
    connect(positions, &QCheckBox::toggled, this, [this](bool on) { choice_.positions = on; });
    layout->addWidget(positions);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(msg::Text(Msg::TraceRun), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // A slider change re-runs after a short pause, so that a drag runs once.
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(150);
    connect(timer_, &QTimer::timeout, this, &AutoTraceDialog::Refresh);
    connect(gap_, &QSlider::valueChanged, this, [this](int v) {
        if (setting_) return;
        choice_.gap = v;
        timer_->start();
    });
    connect(area_, &QSlider::valueChanged, this, [this](int v) {
        if (setting_) return;
        choice_.minArea = v;
        timer_->start();
    });
    const QSize page = session_.Scan().size();
    scale_ = std::min({1.0, 900.0 / std::max(1, page.width()), 640.0 / std::max(1, page.height())});
    Refresh();
}

void AutoTraceDialog::Refresh() {
    int regions = 0, gap = 0, minArea = 0;
    setCursor(Qt::WaitCursor);
    const QImage img = session_.Preview(choice_, &regions, &gap, &minArea);
    unsetCursor();
    preview_->setPixmap(QPixmap::fromImage(
        img.scaled(img.size() * scale_, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    count_->setText(
        msg::Format(Msg::TracePreviewCount,
                    {QString::number(regions), QString::number(gap), QString::number(minArea)}));
    setting_ = true;
    gap_->setValue(gap);
    area_->setValue(minArea);
    setting_ = false;
}

void AutoTraceDialog::SampleAt(QPoint shown) {
    const QPixmap pm = preview_->pixmap();
    const QPoint offset((preview_->width() - pm.width()) / 2,
                        (preview_->height() - pm.height()) / 2);
    const QPoint p((shown - offset) / scale_);
    if (!session_.Scan().valid(p)) return;
    choice_.sample = p;
    const QRgb c = session_.SampleAt(p);
    ink_->setText(msg::Format(
        Msg::TraceInkSampled,
        {QString::number(qRed(c)), QString::number(qGreen(c)), QString::number(qBlue(c))}));
    Refresh();
}

bool AutoTraceDialog::eventFilter(QObject* o, QEvent* e) {
    if (o == preview_ && e->type() == QEvent::MouseButtonRelease) {
        SampleAt(static_cast<QMouseEvent*>(e)->position().toPoint());
        return true;
    }
    return QDialog::eventFilter(o, e);
}
