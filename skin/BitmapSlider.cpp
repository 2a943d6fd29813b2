#include "skin/BitmapSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

#include "skin/SkinPicture.h"

namespace pallix {

CBitmapSlider::CBitmapSlider(QWidget* parent, int controlId) : QWidget(parent) {
    if (controlId >= 0) SetControlId(this, controlId);
    setFocusPolicy(Qt::StrongFocus);
}

int CBitmapSlider::SetChannelImages(const QImage& channel, const QImage& active) {
    if (channel.isNull()) {
        channel_ = activeChannel_ = QImage();
        return 1;
    }
    channel_ = KeyedOut(channel, kChannelKey);
    activeChannel_ = KeyedOut(active, kChannelKey);
    width_ = channel.width();
    height_ = channel.height();
    setFixedSize(width_, height_);
    update();
    return 1;
}

namespace {
// A picture and its optional active twin; false when a named one is missing.
bool LoadPair(int id, int activeId, QImage& picture, QImage& active) {
    picture = LoadSkinPicture(id);
    active = LoadSkinPicture(activeId);
    return !picture.isNull() && (activeId == 0 || !active.isNull());
}
}  // namespace

int CBitmapSlider::LoadChannel(int channelId, int activeChannelId) {
    QImage channel, active;
    if (channelId == 0) return SetChannelImages({});
    return LoadPair(channelId, activeChannelId, channel, active) ? SetChannelImages(channel, active) : 0;
}

int CBitmapSlider::SetThumbImages(const QImage& thumb, const QImage& active) {
    if (thumb.isNull()) {
        thumb_ = activeThumb_ = QImage();
        return 1;
    }
    thumb_ = KeyedOut(thumb, kThumbKey);
    activeThumb_ = KeyedOut(active, kThumbKey);
    thumbWidth_ = thumb.width();
    thumbHeight_ = thumb.height();
    if (channel_.isNull()) {
        width_ = width();
        height_ = height();
    }
    update();
    return 1;
}

int CBitmapSlider::LoadThumb(int thumbId, int activeThumbId) {
    QImage thumb, active;
    if (thumbId == 0) return SetThumbImages({});
    return LoadPair(thumbId, activeThumbId, thumb, active) ? SetThumbImages(thumb, active) : 0;
}

void CBitmapSlider::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom) {
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
}

void CBitmapSlider::EnableSlider(bool enable) {
    setEnabled(enable);
    update();
}

void CBitmapSlider::SetPos(int value) {
    pos_ = std::max(std::min(value, max_), min_);
    update();
}

int CBitmapSlider::Track() const {
    return vertical_ ? height_ - marginBottom_ - marginTop_ - thumbHeight_
                     : width_ - marginRight_ - marginLeft_ - thumbWidth_;
}

int CBitmapSlider::PixelFromPos(int value) const {
    // An empty range or track would divide by zero: the thumb then rests at the start.
    const double span = double(max_) - min_;
    const double offset = span == 0 ? 0 : std::trunc(double(Track()) * (double(value) - min_) / span);
    return MarginStart() + int(offset) + ThumbExtent() / 2;
}

int CBitmapSlider::PosFromPixel(int pixel) const {
    const int track = Track();
    if (track <= 0) return min_;
    return int(std::trunc(min_ + double(pixel - ThumbExtent() / 2 - MarginStart()) *
                                     (double(max_) - min_) / track));
}

int CBitmapSliderEx2::PosFromPixel(int pixel) const {
    if (vertical_) return CBitmapSlider::PosFromPixel(pixel);
    const int track = Track();
    if (track <= 0) return min_;
    return int(std::trunc(min_ + double(pixel - marginLeft_) * (double(max_) - min_) / track));
}

void CBitmapSlider::Post(std::uint32_t message) {
    emit Posted(Message{message, std::uint32_t(ControlId(this)), std::uint32_t(pos_)});
}

void CBitmapSlider::TrackPoint(Qt::MouseButtons, int x, int y) {
    if (!dragging_ || !isEnabled()) return;
    int p = 0;
    if (vertical_)
        p = std::clamp(y - grabOffset_, marginTop_ + thumbHeight_ / 2,
                       std::max(marginTop_ + thumbHeight_ / 2, height_ - marginBottom_ - thumbHeight_ / 2));
    else
        p = std::clamp(x - grabOffset_, marginLeft_ + thumbWidth_ / 2,
                       std::max(marginLeft_ + thumbWidth_ / 2, width_ - marginRight_ - thumbWidth_ / 2));
    if (p == PixelFromPos(pos_)) return;
    const int old = pos_;
    pos_ = std::clamp(PosFromPixel(p), std::min(min_, max_), std::max(min_, max_));
    update();
    // Tracking reports value changes only, not pixel moves within one value.
    if (pos_ != old) Post(WM_SLIDER_TRACKING);
}

void CBitmapSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    if (focusOnClick_) setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int at = vertical_ ? e->position().toPoint().y() : e->position().toPoint().x();
    const int centre = PixelFromPos(pos_);
    grabOffset_ = std::abs(at - centre) > ThumbExtent() / 2 ? 0 : at - centre;
    Post(WM_SLIDER_PRESSED);
    TrackPoint(e->buttons(), e->position().toPoint().x(), e->position().toPoint().y());
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* e) {
    TrackPoint(e->buttons(), e->position().toPoint().x(), e->position().toPoint().y());
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !isEnabled()) return;
    dragging_ = false;
    update();
    Post(WM_SLIDER_CHANGED);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* e) {
    if (!isEnabled()) return QWidget::keyPressEvent(e);
    int value = 0;
    switch (e->key()) {
    case Qt::Key_PageUp: value = pos_ - page_; break;
    case Qt::Key_PageDown: value = pos_ + page_; break;
    case Qt::Key_End: value = max_; break;
    case Qt::Key_Home: value = min_; break;
    case Qt::Key_Right: case Qt::Key_Down: value = pos_ + 1; break;
    case Qt::Key_Left: case Qt::Key_Up: value = pos_ - 1; break;
    default: return QWidget::keyPressEvent(e);
    }
    SetPos(value);
    Post(WM_SLIDER_CHANGED);
}

void CBitmapSlider::resizeEvent(QResizeEvent* e) {
    if (channel_.isNull()) {
        width_ = width();
        height_ = height();
    }
    QWidget::resizeEvent(e);
}

void CBitmapSlider::changeEvent(QEvent* e) {
    // Disabled while dragging (a dialog disabling its controls): the drag is over.
    if (e->type() == QEvent::EnabledChange && !isEnabled()) dragging_ = false;
    QWidget::changeEvent(e);
}

void CBitmapSlider::focusInEvent(QFocusEvent* e) {
    update();
    QWidget::focusInEvent(e);
}

void CBitmapSlider::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool enabled = isEnabled();
    if (!channel_.isNull()) {
        if (!activeChannel_.isNull() && enabled) {
            // Active part from the start to the thumb centre, normal part after it.
            const int c = PixelFromPos(pos_);
            const QRect after = vertical_ ? QRect(0, c, width_, height_ - c) : QRect(c, 0, width_ - c, height_);
            const QRect before = vertical_ ? QRect(0, 0, width_, c) : QRect(0, 0, c, height_);
            p.drawImage(after, channel_, after);
            p.drawImage(before, activeChannel_, before);
        } else {
            p.drawImage(0, 0, channel_);
        }
    }
    if (!thumb_.isNull() && (enabled || DrawsThumbWhenDisabled())) {
        const QImage& t = dragging_ && !activeThumb_.isNull() ? activeThumb_ : thumb_;
        const int c = PixelFromPos(pos_);
        const QPoint at = vertical_ ? QPoint(marginLeft_, c - thumbHeight_ / 2)
                                    : QPoint(c - thumbWidth_ / 2, marginTop_);
        p.drawImage(at, t);
    }
    if (drawFocusRect_ && hasFocus() && enabled) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

}  // namespace pallix
