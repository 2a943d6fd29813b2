#pragma once
// The size of font 0, the program's general text font, follows the height of the
// system's icon-title font (negative = character height in pixels), so the program's
// texts keep their size in pixels whatever the system's scaling.
namespace pallix::texts {

double Font0PointSize(int iconTitleFontHeight);

}  // namespace pallix::texts
