#include "skin/HoverButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolTip>

#include "skin/FocusMark.h"
#include "skin/SkinControl.h"
#include "skin/SkinPicture.h"

namespace pallix {

CHoverButtonEx::CHoverButtonEx(QWidget* parent, int controlId) : QAbstractButton(parent) {
    if (controlId >= 0) SetControlId(this, controlId);
    tipTimer_.setSingleShot(true);
    tipTimer_.setInterval(kTooltipDelayMs);
    connect(&tipTimer_, &QTimer::timeout, this, &CHoverButtonEx::ShowTip);
}

int CHoverButtonEx::LoadStrip(int bitmapId) {
    const QImage strip = LoadSkinPicture(bitmapId);
    return strip.isNull() ? 0 : SetStrip(strip);
}

int CHoverButtonEx::SetStrip(const QImage& strip) {
    // Key-coloured corners show what lies behind the button.
    strip_ = KeyedOut(strip, kThumbKey);
    frameSize_ = horizontal_ ? QSize(strip.width() / 4, strip.height())
                             : QSize(strip.width(), strip.height() / 4);
    setFixedSize(frameSize_);
    update();
    return 1;
}

QSize CHoverButtonEx::sizeHint() const {
    if (!strip_.isNull()) return frameSize_;
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize, this);
}

void CHoverButtonEx::SetTooltipText(const QString& text, bool activate) {
    if (text.isEmpty()) return;
    tooltip_ = text;
    tooltipActive_ = activate;
}

void CHoverButtonEx::ResetHover() {
    hover_ = false;
    tipTimer_.stop();
    update();
}

int CHoverButtonEx::CurrentFrame() const {
    if (isDown()) return kFramePressed;
    if (hover_) return kFrameHover;
    return isEnabled() ? kFrameNormal : kFrameDisabled;
}

void CHoverButtonEx::ShowTip() {
    if (hover_ && tooltipActive_ && !tooltip_.isEmpty())
        QToolTip::showText(QCursor::pos(), tooltip_, this);
}

void CHoverButtonEx::enterEvent(QEnterEvent* e) {
    hover_ = true;
    if (window() && !window()->isActiveWindow()) window()->activateWindow();
    // Hovering renews the tooltip with the stored text, active.
    tooltipActive_ = !tooltip_.isEmpty();
    if (tooltipActive_) tipTimer_.start();
    update();
    QAbstractButton::enterEvent(e);
}

void CHoverButtonEx::leaveEvent(QEvent* e) {
    hover_ = false;
    tipTimer_.stop();
    QToolTip::hideText();
    update();
    QAbstractButton::leaveEvent(e);
}

void CHoverButtonEx::mousePressEvent(QMouseEvent* e) {
    tipTimer_.stop();
    QToolTip::hideText();
    QAbstractButton::mousePressEvent(e);
}

bool CHoverButtonEx::event(QEvent* e) {
    // Our own delayed tip replaces Qt's default one.
    if (e->type() == QEvent::ToolTip) return true;
    return QAbstractButton::event(e);
}

void CHoverButtonEx::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (strip_.isNull()) {
        // Without a strip the button looks like any push button.
        QStyleOptionButton option;
        option.initFrom(this);
        option.text = text();
        if (isDown()) option.state |= QStyle::State_Sunken;
        style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
        PaintOver(p);
        CFocusMark::Paint(p, this);
        return;
    }
    const int frame = CurrentFrame();
    const QRect source = horizontal_ ? QRect(QPoint(frame * frameSize_.width(), 0), frameSize_)
                                     : QRect(QPoint(0, frame * frameSize_.height()), frameSize_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect(), strip_, source);
    PaintOver(p);
    CFocusMark::Paint(p, this);
}

void CHoverButtonEx2::SetCaption(const QString& text, const QRect* rect, const QFont* font, QColor colour) {
    if (text.isEmpty()) {
        captionShown_ = false;
        caption_.clear();
        update();
        return;
    }
    caption_ = text.left(kMaxCaption);
    if (colour.isValid()) colour_ = colour;
    if (font) {
        font_ = *font;
        hasFont_ = true;
    }
    if (rect) rect_ = *rect;
    captionShown_ = true;
    update();
}

void CHoverButtonEx2::PaintOver(QPainter& p) {
    if (!captionShown_) return;
    p.save();
    if (hasFont_) p.setFont(font_);
    p.setPen(CaptionColour());
    const QRect r = rect_.isValid() ? rect_ : rect();
    p.drawText(r, format_ | Qt::TextSingleLine, caption_);
    p.restore();
}

}  // namespace pallix
