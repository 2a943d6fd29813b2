#pragma once
// The monitor's icon in the notification area and its menu. Menu choices and a
// left click reach the owner as command ids, after the menu has closed. Without a
// notification area the icon is added as soon as one appears.
#include <functional>
#include <memory>

#include <QMenu>
#include <QSystemTrayIcon>

#include "monitor/MonitorLanguage.h"
#include "monitor/TrayHostWatch.h"

namespace pallix::monitor {

inline constexpr int IDM_TRAY_LAUNCH = 2000;
inline constexpr int IDM_TRAY_WEBSITE = 2001;
inline constexpr int IDM_TRAY_OSD = 2002;
inline constexpr int IDM_TRAY_EXIT = 2100;
inline constexpr int kOsdItemPosition = 2;

class CTaskIcon : public QObject {
    Q_OBJECT
public:
    using CommandSink = std::function<void(int id)>;
    CTaskIcon(const MenuTexts& texts, CommandSink sink);
    ~CTaskIcon() override;

    // Puts the icon into the notification area, once; false when the icon is there
    // already, or when there is no notification area yet (it is then added when
    // one appears).
    bool AddIcon(const QIcon& icon, const QString& tooltip);
    bool IsAdded() const { return added_; }
    // Text of the OSD item (position 2): slot 2 while disabled, slot 4 while enabled.
    void SetOsdItem(bool osdEnabled);
    // A balloon from the icon (when it is in the notification area), and the text
    // kept as the icon's tooltip until ClearNotice.
    void ShowNotice(const QString& title, const QString& text);
    void ClearNotice();
    const QString& Notice() const { return notice_; }

    QMenu& menu() { return menu_; }
    const MenuTexts& texts() const { return texts_; }

private:
    void Post(int id);
    bool TryAdd();
    void ApplyTooltip();  // the tooltip, with the notice under it while there is one

    MenuTexts texts_;
    CommandSink sink_;
    QMenu menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<TrayHostWatch> hostWatch_;  // while waiting for a notification area
    bool added_ = false;
    QIcon picture_;
    QString tooltip_;
    QString noticeTitle_;
    QString notice_;
};

}  // namespace pallix::monitor
