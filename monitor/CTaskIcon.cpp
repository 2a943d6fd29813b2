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
    if (added_ || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
    icon_ = std::make_unique<QSystemTrayIcon>(icon);
    tooltip_ = tooltip;
    ApplyTooltip();
    icon_->setContextMenu(&menu_);
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::DoubleClick) Post(IDM_TRAY_LAUNCH);
    });
    icon_->show();
    added_ = icon_->isVisible();
    return added_;
}

void CTaskIcon::SetOsdItem(bool osdEnabled) {
    const QList<QAction*> actions = menu_.actions();
    if (actions.size() > kOsdItemPosition)
        actions[kOsdItemPosition]->setText(texts_[osdEnabled ? kTextDisableOsd : kTextEnableOsd]);
}

void CTaskIcon::ShowNotice(const QString& title, const QString& text) {
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
