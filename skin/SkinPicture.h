#pragma once
// Loading the program's pictures for the controls, with the key colour turned into
// transparency (the effect of drawing through a mask).
#include <QImage>
#include <QRgb>

namespace pallix {

// Picture id from the program's artwork; null when unknown.
QImage LoadSkinPicture(int id);
// A copy with every pixel of the key colour fully transparent.
QImage KeyedOut(const QImage& picture, QRgb key);
// A copy whose pixels are transparent where mask is white (shape masks).
QImage MaskedBy(const QImage& picture, const QImage& mask);

inline constexpr QRgb kChannelKey = qRgb(255, 255, 255);
inline constexpr QRgb kThumbKey = qRgb(0, 64, 0);

}  // namespace pallix
