#pragma once
#include "ArtKit.h"

namespace artgen {
// Each adds its group of pictures to the list.
void AddDialogPictures(std::vector<Picture>& out);   // faces of windows and prompts
void AddButtonPictures(std::vector<Picture>& out);   // button strips, options, sliders
void AddLightingPictures(std::vector<Picture>& out); // lighting dialog parts and colours
void AddSmallPictures(std::vector<Picture>& out);    // busy frames, key status, list parts, icons
void AddOsdPictures(std::vector<Picture>& out);      // the on-screen display library

// Picture 800 at any size with a smooth alpha channel, for the desktop's icon theme.
QImage ApplicationIcon(int size);
}  // namespace artgen
