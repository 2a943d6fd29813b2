#include "monitor/CTaskIcon.h"

#include <QTimer>

namespace pallix::monitor {

CTaskIcon::CTaskIcon(const MenuTexts& texts, CommandSink sink) : texts_(texts), sink_(std::move(sink)) {
    const struct {
        int slot;
        int id;
    } items[] = {{kTextLaunch, IDM_TRAY_LAUNCH}, {kTextWebsite, IDM_TRAY_WEBSITE}, {kTextDisableOsd, IDM_TRAY_OSD}};
    for (const auto& item : items) {
        QAction* action = menu_.addAction(texts_[static_cast<std::size_t>(item.slot)]);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { Post(id); });
    }
    menu_.addSeparator();
    connect(menu_.addAction(texts_[kTextExit]), &QAction::triggered, this, [this] { Post(IDM_TRAY_EXIT); });
}

CTaskIcon::~CTaskIcon() {
    if (icon_) icon_->hide();
}

bool CTaskIcon::AddIcon(const QIcon& icon, const QString& tooltip) {
    if (added_ || hostWatch_) return false;
    picture_ = icon;
    tooltip_ = tooltip;
    if (TryAdd()) return true;
    hostWatch_ = std::make_unique<TrayHostWatch>();
    connect(hostWatch_.get(), &TrayHostWatch::hostMayHaveAppeared, this, [this] {
        if (TryAdd()) hostWatch_.release()->deleteLater();
    });
    return false;
}

bool CTaskIcon::TryAdd() {
    if (added_ || !TrayHostWatch::HostPresent() || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
    // Made now, not earlier: Qt picks the StatusNotifier or the XEmbed way when the
    // icon is created, from what the session offers at that moment.
    icon_ = std::make_unique<QSystemTrayIcon>(picture_);
    ApplyTooltip();
    icon_->setContextMenu(&menu_);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        // Hosts deliver a single click as the activation and many never pass on a
        // double-click; a double-click's first click has already launched.
        if (why == QSystemTrayIcon::Trigger) Post(IDM_TRAY_LAUNCH);
    });
    icon_->show();
    added_ = true;
    if (!notice_.isEmpty()) icon_->showMessage(noticeTitle_, notice_, QSystemTrayIcon::Warning);
    return true;
}

void CTaskIcon::SetOsdItem(bool osdEnabled) {
    const QList<QAction*> actions = menu_.actions();
    if (actions.size() > kOsdItemPosition)
        actions[kOsdItemPosition]->setText(texts_[osdEnabled ? kTextDisableOsd : kTextEnableOsd]);
}

void CTaskIcon::ShowNotice(const QString& title, const QString& text) {
    noticeTitle_ = title;
    notice_ = text;
    if (!icon_) return;
    ApplyTooltip();
    icon_->showMessage(title, text, QSystemTrayIcon::Warning);
}

void CTaskIcon::ClearNotice() {
    notice_.clear();
    if (icon_) ApplyTooltip();
}

void CTaskIcon::ApplyTooltip() {
    icon_->setToolTip(notice_.isEmpty() ? tooltip_ : tooltip_ + QStringLiteral("\n") + notice_);
}

void CTaskIcon::Post(int id) {
    // As a posted command: the menu is closed before the owner acts on it.
    QTimer::singleShot(0, this, [this, id] {
        if (sink_) sink_(id);
    });
}

}  // namespace pallix::monitor
