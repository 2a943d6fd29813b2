#pragma once
// Small helpers the skinned dialogs share.
#include <QString>

class QLineEdit;

namespace pallix {

// A UI string of the text table as a QString.
QString UiQString(int index);
// The look of an entry field: light text on RGB(43,43,43), grey when read-only or
// disabled.
void StyleEntryField(QLineEdit* entry);
// Text cut to at most `characters`, ending in an ellipsis when it was longer.
QString ElideCaption(const QString& text, int characters);
// An entry's text made canonical as the number entries check it: a value above `max`
// becomes `max`; a text that is not a canonical decimal number loses characters
// from its end ("05" -> "0", "1a" -> "1"). Empty stays empty.
QString ValidatedNumber(const QString& text, int max);

}  // namespace pallix
