#include "skin/SkinControl.h"

namespace pallix {

namespace {
constexpr const char* kIdProperty = "controlId";
}

void SetControlId(QWidget* control, int id) { control->setProperty(kIdProperty, id); }

int ControlId(const QWidget* control) {
    const QVariant v = control->property(kIdProperty);
    return v.isValid() ? v.toInt() : -1;
}

QWidget* FindControl(const QWidget* parent, int id) {
    for (QWidget* w : parent->findChildren<QWidget*>())
        if (ControlId(w) == id) return w;
    return nullptr;
}

}  // namespace pallix
