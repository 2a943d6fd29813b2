#include "platform/pointer/qt/QtPointerSettings.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace pallix {

namespace {

QStyleHints* Hints() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::styleHints() : nullptr; }

}  // namespace

std::optional<int> QtPointerSettings::DoubleClickTime() {
    QStyleHints* h = Hints();
    if (!h || !ValidDoubleClickTime(h->mouseDoubleClickInterval())) return std::nullopt;
    return h->mouseDoubleClickInterval();
}

std::optional<int> QtPointerSettings::WheelScrollLines() {
    QStyleHints* h = Hints();
    if (!h) return std::nullopt;
    const int lines = h->wheelScrollLines();
    if (lines >= kOnePageAsLines) return kWheelOnePage;
    return ValidWheelLines(lines) ? std::optional<int>(lines) : std::nullopt;
}

PointerResult QtPointerSettings::SetDoubleClickTime(int ms) {
    QStyleHints* h = Hints();
    if (!h || !ValidDoubleClickTime(ms)) return PointerResult::Failed;
    h->setMouseDoubleClickInterval(ms);
    return PointerResult::OwnWindowsOnly;
}

PointerResult QtPointerSettings::SetWheelScrollLines(int lines) {
    QStyleHints* h = Hints();
    if (!h || !ValidWheelLines(lines)) return PointerResult::Failed;
    h->setWheelScrollLines(lines == kWheelOnePage ? kOnePageAsLines : lines);
    return PointerResult::OwnWindowsOnly;
}

PointerResult QtPointerSettings::Reach(PointerSetting setting) {
    if (setting == PointerSetting::Speed) return PointerResult::Unsupported;
    return Hints() ? PointerResult::OwnWindowsOnly : PointerResult::Failed;
}

}  // namespace pallix
