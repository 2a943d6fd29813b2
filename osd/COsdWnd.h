#pragma once
// The display's one window: a shaped, topmost picture near the bottom of the primary
// screen, shown for three seconds per notification, driven by WM_OSD_NOTIFY posted to
// its mailbox ("OSD Handle").
#include <array>
#include <memory>

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "common/Messages.h"
#include "osd/OsdPictures.h"
#include "osd/OsdQuery.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/qt/QtMailbox.h"

namespace pallix::osd {

inline constexpr int TIMER_OSD_HIDE = 0x1000;
inline constexpr int TIMER_OSD_REDRAW = 0x1001;
inline constexpr int kHideDelayMs = 3000;
inline constexpr int kRedrawDelayMs = 10;
inline constexpr double kOpacity = 220.0 / 255.0;
inline constexpr int kBottomMargin = 50;

class COsdWnd : public QWidget {
    Q_OBJECT
public:
    COsdWnd();
    ~COsdWnd() override;

    WindowHandle handle() const { return mailbox_.handle(); }
    Qx7OsdState state() const;
    // One WM_OSD_NOTIFY code with its argument.
    void Notify(std::uint32_t code, std::uint32_t lParam);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    void OnMessage(const Message& message);
    void Present();
    bool BuildPicture();
    void ShowPicture(bool show);
    QRect TargetRect() const;
    void AnswerQuery(WindowHandle asker);

    SqliteSettingsStore settings_;
    QtMailbox mailbox_;
    MailboxPoster poster_;
    OsdModel model_;
    QImage background_;
    int pictureId_ = 0;
    std::array<int, 4> digitIds_{};
    bool pointerInside_ = false;
    bool visible_ = false;
    bool enabled_ = true;
    unsigned shownCount_ = 0;
    unsigned shownAtMs_ = 0;
    QTimer hideTimer_;
    QTimer redrawTimer_;
};

}  // namespace pallix::osd
