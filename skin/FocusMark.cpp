#include "skin/FocusMark.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace pallix {

namespace {

void SetMark(QWidget* control, bool mark) {
    if (control->property(kKeyboardFocusProperty).toBool() == mark) return;
    control->setProperty(kKeyboardFocusProperty, mark);
    // Style sheets read properties only when the widget is polished again.
    control->style()->unpolish(control);
    control->style()->polish(control);
    control->update();
}

bool ByKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
           reason == Qt::OtherFocusReason;
}

bool ByActivation(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

void CFocusMark::Watch(QWidget* control) {
    control->installEventFilter(this);
    control->setProperty(kKeyboardFocusProperty, false);
}

void CFocusMark::ListenTo(QWidget* window) { window->installEventFilter(this); }

bool CFocusMark::Shows(const QWidget* control) {
    return control->hasFocus() && control->property(kKeyboardFocusProperty).toBool();
}

void CFocusMark::Paint(QPainter& p, const QWidget* control) {
    if (!Shows(control)) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFocusMarkColour, 1, Qt::SolidLine));
    p.drawRect(control->rect().adjusted(2, 2, -3, -3));
    p.restore();
}

bool CFocusMark::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down: navigating_ = true; break;
        default: break;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        // Back to the mouse: the mark goes until the keyboard moves the focus again.
        navigating_ = false;
        if (QWidget* focused = QApplication::focusWidget();
            focused && focused->property(kKeyboardFocusProperty).isValid())
            SetMark(focused, false);
    }
    auto* control = qobject_cast<QWidget*>(watched);
    const bool tracked = control && control->property(kKeyboardFocusProperty).isValid();
    if (tracked && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!ByActivation(reason))
            SetMark(control, event->type() == QEvent::FocusIn && ByKeyboard(reason) && navigating_);
        control->update();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pallix
