#include "skin/SkinButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "skin/FocusMark.h"
#include "skin/Region.h"
#include "skin/SkinControl.h"
#include "skin/SkinPicture.h"

namespace pallix {

CxSkinButton::CxSkinButton(QWidget* parent, int controlId, Kind kind)
    : QAbstractButton(parent), kind_(kind) {
    if (controlId >= 0) SetControlId(this, controlId);
    textColour_ = palette().color(QPalette::ButtonText);
}

QRegion CxSkinButton::RegionFromMask(const QImage& mask) {
    return RegionFromImage(mask, qRgb(255, 255, 255));
}

int CxSkinButton::SetSkin(int normal, int down, int over, int disabled, int mask, int focus) {
    const int ids[6] = {normal, down, over, disabled, mask, focus};
    QImage pictures[6];
    int ok = 1;
    for (int i = 0; i < 6; ++i) {
        pictures[i] = LoadSkinPicture(ids[i]);
        if (ids[i] != 0 && pictures[i].isNull()) ok = 0;
    }
    SetSkinImages(pictures[0], pictures[1], pictures[2], pictures[3], pictures[4], pictures[5]);
    return ok;
}

void CxSkinButton::SetSkinImages(const QImage& normal, const QImage& down, const QImage& over,
                                 const QImage& disabled, const QImage& mask, const QImage& focus) {
    mask_ = mask;
    // With a mask, mask-white pixels keep the background.
    normal_ = MaskedBy(normal, mask);
    down_ = MaskedBy(down, mask);
    over_ = MaskedBy(over, mask);
    disabled_ = disabled.isNull() ? normal_ : MaskedBy(disabled, mask);
    focus_ = MaskedBy(focus, mask);
    if (!mask.isNull()) {
        region_ = RegionFromMask(mask);
        setFixedSize(mask.size());
        setMask(region_);
    } else {
        region_ = QRegion();
        clearMask();
    }
    update();
}

void CxSkinButton::SetCheck(bool check) {
    const bool mark = check && kind_ != kPush;
    const bool changed = mark != check_;
    check_ = mark;
    update();
    if (mark && kind_ == kRadio && parentWidget()) {
        for (CxSkinButton* other : parentWidget()->findChildren<CxSkinButton*>(Qt::FindDirectChildrenOnly))
            if (other != this && other->kind_ == kRadio && other->group_ == group_) other->SkinUncheck();
    }
    if (changed) emit CheckChanged(check_);
}

void CxSkinButton::SkinUncheck() {
    if (!check_) return;
    check_ = false;
    update();
    emit CheckChanged(false);
}

void CxSkinButton::UserMark() {
    if (kind_ == kCheckBox) SetCheck(!check_);
    else if (kind_ == kRadio) SetCheck(true);
}

void CxSkinButton::enterEvent(QEnterEvent* e) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(e);
}

void CxSkinButton::leaveEvent(QEvent* e) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void CxSkinButton::mousePressEvent(QMouseEvent* e) {
    hover_ = false;
    QAbstractButton::mousePressEvent(e);
}

void CxSkinButton::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void CxSkinButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && isDown() && hitButton(e->position().toPoint())) UserMark();
    QAbstractButton::mouseReleaseEvent(e);
}

void CxSkinButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) UserMark();
    QAbstractButton::keyPressEvent(e);
}

void CxSkinButton::focusOutEvent(QFocusEvent* e) {
    setDown(false);
    QAbstractButton::focusOutEvent(e);
}

void CxSkinButton::DrawPicture(QPainter& p, const QImage& picture) {
    if (picture.isNull()) {
        p.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    switch (drawMode_) {
    case kTile:
        p.drawTiledPixmap(rect(), QPixmap::fromImage(picture));
        break;
    case kStretch:
        p.drawImage(rect(), picture);
        break;
    default:
        p.drawImage(0, 0, picture);
        break;
    }
}

void CxSkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect textRect = rect().adjusted(focusInset_ + 2, 0, -(focusInset_ + 2), 0);
    auto edge = [&](bool sunken) {
        if (!drawEdge_) return;
        p.setPen(sunken ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
        p.drawLine(0, 0, width() - 1, 0);
        p.drawLine(0, 0, 0, height() - 1);
        p.setPen(sunken ? palette().color(QPalette::Light) : palette().color(QPalette::Dark));
        p.drawLine(width() - 1, 0, width() - 1, height() - 1);
        p.drawLine(0, height() - 1, width() - 1, height() - 1);
    };
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (!isEnabled()) {
        DrawPicture(p, disabled_);
        edge(false);
        // Embossed text: highlight first, grey text one pixel up and left of it.
        const QRect r = check_ ? textRect.translated(1, 1) : textRect;
        p.setPen(palette().color(QPalette::Light));
        p.drawText(r, flags, text());
        p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
        p.drawText(r.translated(-1, -1), flags, text());
        return;
    }
    if (isDown() || check_) {
        DrawPicture(p, down_.isNull() ? QImage() : down_);
        textRect.translate(1, 1);
        edge(true);
    } else {
        if (hover_ && !over_.isNull()) DrawPicture(p, over_);
        else if (hasFocus() && !focus_.isNull()) DrawPicture(p, focus_);
        else DrawPicture(p, normal_);
        edge(false);
        if (hasFocus() && focusInset_ > 0) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect().adjusted(focusInset_, focusInset_, -focusInset_, -focusInset_);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
        }
    }
    p.setPen(textColour_);
    p.drawText(textRect, flags, text());
    CFocusMark::Paint(p, this);
}

}  // namespace pallix
