#pragma once
// The shape of a skinned window: every pixel of a picture that is not the key colour.
#include <QImage>
#include <QRegion>
#include <QRgb>

namespace pallix {

// Key-coloured pixels lie outside the region, every other pixel inside. Rows with the
// same runs are merged into one band, so a typical dialog picture yields a few hundred
// rectangles. Alpha is ignored; an empty or null picture gives an empty region.
QRegion RegionFromImage(const QImage& picture, QRgb key);

}  // namespace pallix
