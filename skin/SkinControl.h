#pragma once
// What every skinned control shares: its numeric control id (dialogs route commands
// and notifications by it) and the notification signal towards its parent dialog.
#include <QMetaType>
#include <QWidget>

#include "common/Messages.h"

Q_DECLARE_METATYPE(pallix::Message)

namespace pallix {

// Posted by a radio CxSkinButton to the other radio buttons of its group.
inline constexpr std::uint32_t WM_SKIN_UNCHECK = 0x0500;

// The id is kept as the dynamic property "controlId" so any QWidget can carry one.
void SetControlId(QWidget* control, int id);
int ControlId(const QWidget* control);  // -1 when none was set
// The child (at any depth) of parent with that control id, or nullptr.
QWidget* FindControl(const QWidget* parent, int id);

}  // namespace pallix
