#pragma once
// The keyboard focus mark of the skinned windows. It is drawn on the control that
// has the focus only when the keyboard took it there (Tab, Shift+Tab, an arrow key):
// not when a window hands its first control the focus by itself, and not from a
// click on until the keyboard moves the focus again.
// A window that lost and regained activation (a box was open) keeps the mark where
// it was.
#include <QColor>
#include <QObject>

class QPainter;
class QWidget;

namespace pallix {

inline constexpr const char* kKeyboardFocusProperty = "keyboardFocus";
inline const QColor kFocusMarkColour{255, 190, 120};

class CFocusMark : public QObject {
    Q_OBJECT
public:
    explicit CFocusMark(QObject* parent = nullptr) : QObject(parent) {}

    // Follows the control's focus changes; its property "keyboardFocus" says whether
    // the keyboard brought the focus (style sheets select on it).
    void Watch(QWidget* control);
    // Also notices Tab and the arrow keys pressed on `window` itself (before any of
    // its controls has the focus).
    void ListenTo(QWidget* window);
    static bool Shows(const QWidget* control);
    // Skinned controls call it last in their paint: a frame just inside their edge.
    static void Paint(QPainter& p, const QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Qt also moves the focus "by Tab" when the focused control is hidden: only a
    // focus change after the user's own navigation key shows the mark.
    bool navigating_ = false;
};

}  // namespace pallix
