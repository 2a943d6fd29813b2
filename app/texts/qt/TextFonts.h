#pragma once
// The seven fonts of the font table as Qt fonts.
#include <QFont>

namespace pallix::texts {

// Height of the system's title font as a character height (negative pixels).
int SystemTitleFontHeight();
// Font 0: face 0 at the size the font rule gives for the system's title font.
// Every font asks for the face's installed families (LanguageFonts.h) for the
// language loaded. Fonts 1-6: the table's height (pixels; 0 = default size), weight (1-1000; 0 =
// normal) and width (average character width in pixels; 0 = natural), sans-serif.
QFont BuildFont(int index);

}  // namespace pallix::texts
