#include "dialogs/UiKeyStatus.h"

#include <QEnterEvent>
#include <QFontMetrics>

#include "dialogs/KeyMessages.h"
#include "macro/MacroTexts.h"

namespace pallix {

CUiKeyStatus::CUiKeyStatus(QWidget* parent, int controlId) : CHoverButtonEx2(parent, controlId) {
    SetHighlight(true);  // the caption is always drawn in its own colour
}

bool CUiKeyStatus::SetupItems() {
    itemTexts_.fill(QString());
    itemKinds_.fill(kNone);
    slots_ = true;
    return true;
}

void CUiKeyStatus::SetKindImages(const int (&ids)[kKindCount]) {
    std::copy(std::begin(ids), std::end(ids), kindImages_.begin());
    SetHorizontal(true);
}

void CUiKeyStatus::SetItem(int kind, const QString& text, int index, bool show) {
    if (!slots_ || index < 0 || index >= kItemCount || kind < 0 || kind >= kKindCount) return;
    itemKinds_[index] = kind;
    itemTexts_[index] = text.left(kTextCapacity - 1);
    if (show) {
        shownItem_ = index;
        Refresh();
    }
}

QString CUiKeyStatus::ItemText(int index) const {
    return slots_ && index >= 0 && index < kItemCount ? itemTexts_[index] : QString();
}

int CUiKeyStatus::ItemKind(int index) const {
    return slots_ && index >= 0 && index < kItemCount ? itemKinds_[index] : -1;
}

void CUiKeyStatus::LoadKindImage(int kind) {
    loadedImage_ = kindImages_[kind];
    ++imageLoads_;
    LoadStrip(loadedImage_);
    shownKind_ = kind;
}

QFont CUiKeyStatus::FittingFont(const QString& text) const {
    // Smaller steps of the control's own font until the text fits the caption area;
    // the smallest one still reads.
    QFont f = font();
    const bool pixels = f.pixelSize() > 0;
    qreal size = pixels ? f.pixelSize() : f.pointSizeF();
    const qreal smallest = pixels ? kSmallestCaptionPixels : kSmallestCaptionPoints;
    const qreal step = pixels ? 1.0 : 0.5;
    // Exact widths: whole pixels round down and the caption would still be elided.
    while (QFontMetricsF(f).horizontalAdvance(text) > kCaptionRect.width() && size - step >= smallest) {
        size -= step;
        if (pixels) f.setPixelSize(int(size));
        else f.setPointSizeF(size);
    }
    return f;
}

void CUiKeyStatus::Refresh() {
    if (shownItem_ >= 0 && shownItem_ < kItemCount) {
        if (slots_) {
            // What does not fit even in the smallest font (a long application file
            // name) ends in an ellipsis inside the caption area.
            const QString& text = itemTexts_[shownItem_];
            const QFont captionFont = FittingFont(text.left(kMaxCaption));
            const QFontMetrics metrics(captionFont);
            const QString shown = metrics.elidedText(text, Qt::ElideRight, kCaptionRect.width());
            if (shown.isEmpty()) SetCaption(QString());
            else SetCaption(shown.left(kMaxCaption), &kCaptionRect, &captionFont, QColor(255, 255, 255));
            const int kind = itemKinds_[shownItem_];
            if (kind != shownKind_ && kind >= 0 && kind < kKindCount) LoadKindImage(kind);
        }
    } else {
        SetCaption(QString());
        LoadKindImage(kNone);
    }
}

void CUiKeyStatus::OnSkinMessage(const Message& message) {
    if (message.message == WM_MOUSEHOVER) Hover(message.wParam);
    else if (message.message == WM_MOUSELEAVE) Leave();
}

void CUiKeyStatus::Hover(std::uint32_t wParam) {
    const auto item = static_cast<std::int64_t>(wParam) - kKeyHoverBase;
    if (item >= 0 && item < kItemCount && item != shownItem_) {
        shownItem_ = static_cast<int>(item);
        Refresh();
    }
    const bool wasHovering = CHoverButtonEx::Hover();
    if (!wasHovering) {
        QEnterEvent enter{QPointF(), QPointF(), QPointF()};
        CHoverButtonEx::enterEvent(&enter);
        emit Posted({WM_KEY_HOVER, static_cast<std::uint32_t>(shownKind_), static_cast<std::uint32_t>(shownItem_)});
        emit ListenerPosted({WM_MOUSEHOVER, 0, 0});
    }
}

void CUiKeyStatus::Leave() {
    const bool wasHovering = CHoverButtonEx::Hover();
    ResetHover();
    if (wasHovering) {
        emit Posted({WM_MOUSELEAVE, 0, 0});
        emit ListenerPosted({WM_MOUSELEAVE, 0, 0});
    }
}

void CUiKeyStatus::enterEvent(QEnterEvent*) { Hover(0); }

void CUiKeyStatus::leaveEvent(QEvent* e) {
    Leave();
    QAbstractButton::leaveEvent(e);
}

}  // namespace pallix
