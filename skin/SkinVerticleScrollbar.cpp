#include "skin/SkinVerticleScrollbar.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

#include "skin/SkinPicture.h"

namespace pallix {

CSkinVerticleScrollbar::CSkinVerticleScrollbar(QWidget* parent) : QWidget(parent) {
    channel_ = LoadSkinPicture(282);
    thumb_ = KeyedOut(LoadSkinPicture(283), kThumbKey);
    setFixedWidth(kWidth);
    repeat_.setInterval(kRepeatMs);
    connect(&repeat_, &QTimer::timeout, this, &CSkinVerticleScrollbar::OnRepeat);
}

void CSkinVerticleScrollbar::SetList(QAbstractScrollArea* list) {
    list_ = list;
    if (list_) {
        list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this,
                &CSkinVerticleScrollbar::SyncThumb, Qt::UniqueConnection);
        connect(list_->verticalScrollBar(), &QScrollBar::rangeChanged, this,
                &CSkinVerticleScrollbar::SyncThumb, Qt::UniqueConnection);
    }
    SyncThumb();
}

void CSkinVerticleScrollbar::ComputeRatio() {
    const int limit = list_ ? list_->verticalScrollBar()->maximum() : 0;
    // Nothing to scroll: no ratio (the thumb rests at the top) instead of a division by 0.
    ratio_ = limit > 0 ? double(height() - kThumbHeight) / limit : 0;
}

void CSkinVerticleScrollbar::ClampThumb() {
    if (thumbTop_ > height() - kThumbHeight) thumbTop_ = height() - kThumbHeight;
    if (thumbTop_ < 0) thumbTop_ = 0;
}

void CSkinVerticleScrollbar::SyncThumb() {
    ComputeRatio();
    const int position = list_ ? list_->verticalScrollBar()->value() : 0;
    thumbTop_ = int(std::trunc(ratio_ * position));
    ClampThumb();
    update();
}

void CSkinVerticleScrollbar::Scroll(int action) {
    if (list_) list_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderAction(action));
}

void CSkinVerticleScrollbar::OnRepeat() {
    if (downPressed_) Scroll(QAbstractSlider::SliderSingleStepAdd);
    else if (upPressed_) Scroll(QAbstractSlider::SliderSingleStepSub);
    SyncThumb();
}

void CSkinVerticleScrollbar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int y = e->position().toPoint().y();
    if (OnThumb(y)) {
        dragging_ = true;
    } else if (InDownArea(y)) {
        downPressed_ = true;
        repeat_.start();
    } else if (InUpArea(y)) {
        upPressed_ = true;
        repeat_.start();
    }
}

void CSkinVerticleScrollbar::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    repeat_.stop();
    const int y = e->position().toPoint().y();
    int action = QAbstractSlider::SliderNoAction;
    if (InUpArea(y) && upPressed_) action = QAbstractSlider::SliderSingleStepSub;
    else if (InDownArea(y) && downPressed_) action = QAbstractSlider::SliderSingleStepAdd;
    else if (OnThumb(y) || InUpArea(y) || InDownArea(y)) action = QAbstractSlider::SliderNoAction;
    else action = y > thumbTop_ ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub;
    Scroll(action);
    SyncThumb();
    upPressed_ = downPressed_ = dragging_ = false;
}

void CSkinVerticleScrollbar::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    const QPoint at = e->position().toPoint();
    const QRect reach = rect().adjusted(-kDragEscape, -kDragEscape, kDragEscape, kDragEscape);
    if (!(e->buttons() & Qt::LeftButton) || !reach.contains(at)) {
        dragging_ = false;
        return;
    }
    thumbTop_ = at.y() - 3;
    ComputeRatio();
    if (list_ && ratio_ > 0) {
        QScrollBar* bar = list_->verticalScrollBar();
        // The list scrolls by whole rows; the scroll bar's value counts rows.
        const int top = thumbTop_;  // the thumb follows the pointer, not the row grid
        bar->setValue(bar->value() + (int(std::trunc(top / ratio_)) - bar->value()));
        thumbTop_ = top;
    }
    ClampThumb();
    update();
}

void CSkinVerticleScrollbar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (!channel_.isNull())
        for (int y = 0; y < height(); ++y) p.drawImage(0, y, channel_);
    if (!thumb_.isNull()) p.drawImage(0, thumbTop_, thumb_);
}

}  // namespace pallix
