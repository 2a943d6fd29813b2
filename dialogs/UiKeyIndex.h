#pragma once
// CUiKeyIndex: the hot spot on one button of the mouse picture. Pointing at it makes
// the status panel show that button (WM_MOUSEHOVER with wParam 288 + button, queued
// to the panel); once the pointer rests the spot counts as pointed at, and leaving
// it sends WM_MOUSELEAVE. A second listener gets the same through ListenerPosted.
#include <QPointer>
#include <QTimer>

#include "common/Messages.h"
#include "skin/SkinButton.h"
#include "skin/SkinControl.h"

namespace pallix {

class CUiKeyStatus;

class CUiKeyIndex : public CxSkinButton {
    Q_OBJECT
public:
    static constexpr int kHoverTimeMs = 400;  // the pointer rests this long: hover
    // Pictures of a hot spot (22 x 22): normal, pressed, hover, shape.
    static constexpr int kSpotNormal = 423;
    static constexpr int kSpotPressed = 424;
    static constexpr int kSpotHover = 425;
    static constexpr int kSpotMask = 426;

    explicit CUiKeyIndex(QWidget* parent = nullptr, int controlId = -1);

    void SetButtonIndex(int index) { buttonIndex_ = index; }
    int ButtonIndex() const { return buttonIndex_; }
    void SetStatusPanel(CUiKeyStatus* panel);
    CUiKeyStatus* StatusPanel() const { return panel_; }
    bool PointedAt() const { return pointedAt_; }

signals:
    void PanelPosted(const pallix::Message& message);     // queued to the status panel
    void ListenerPosted(const pallix::Message& message);  // to the second listener

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void Moved();
    void Hovered();

    int buttonIndex_ = -1;
    QPointer<CUiKeyStatus> panel_;
    bool pointedAt_ = false;
    bool tracking_ = false;
    QTimer hoverTimer_;
};

}  // namespace pallix
