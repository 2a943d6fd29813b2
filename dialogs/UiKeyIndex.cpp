#include "dialogs/UiKeyIndex.h"

#include <QMouseEvent>

#include "dialogs/KeyMessages.h"
#include "dialogs/UiKeyStatus.h"

namespace pallix {

CUiKeyIndex::CUiKeyIndex(QWidget* parent, int controlId) : CxSkinButton(parent, controlId) {
    setMouseTracking(true);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverTimeMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &CUiKeyIndex::Hovered);
}

void CUiKeyIndex::SetStatusPanel(CUiKeyStatus* panel) {
    if (panel_) disconnect(this, &CUiKeyIndex::PanelPosted, panel_, nullptr);
    panel_ = panel;
    if (panel) connect(this, &CUiKeyIndex::PanelPosted, panel, &CUiKeyStatus::OnSkinMessage, Qt::QueuedConnection);
}

void CUiKeyIndex::Moved() {
    if (!tracking_) {
        tracking_ = true;
        update();
    }
    hoverTimer_.start();
    if (pointedAt_) return;
    emit PanelPosted({WM_MOUSEHOVER, static_cast<std::uint32_t>(buttonIndex_ + static_cast<int>(kKeyHoverBase)), 0});
    emit ListenerPosted({WM_MOUSEHOVER, 0, 0});
}

void CUiKeyIndex::Hovered() {
    if (!tracking_) return;
    if (window()) window()->activateWindow();
    update();
    pointedAt_ = true;
}

void CUiKeyIndex::enterEvent(QEnterEvent* e) {
    CxSkinButton::enterEvent(e);
    Moved();
}

void CUiKeyIndex::mouseMoveEvent(QMouseEvent* e) {
    Moved();
    CxSkinButton::mouseMoveEvent(e);
}

void CUiKeyIndex::leaveEvent(QEvent* e) {
    tracking_ = false;
    hoverTimer_.stop();
    CxSkinButton::leaveEvent(e);
    if (pointedAt_) {
        emit PanelPosted({WM_MOUSELEAVE, 0, 0});
        emit ListenerPosted({WM_MOUSELEAVE, 0, 0});
    }
    pointedAt_ = false;
}

void CUiKeyIndex::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

}  // namespace pallix
