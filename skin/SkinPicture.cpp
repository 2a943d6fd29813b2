#include "skin/SkinPicture.h"

#include "resources/Artwork.h"

namespace pallix {

QImage LoadSkinPicture(int id) { return id == 0 ? QImage() : ProgramArtwork().Image(id); }

QImage KeyedOut(const QImage& picture, QRgb key) {
    if (picture.isNull()) return {};
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    key &= 0xFFFFFFu;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] & 0xFFFFFFu) == key) row[x] = 0;
    }
    return out;
}

QImage MaskedBy(const QImage& picture, const QImage& mask) {
    if (picture.isNull()) return {};
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (mask.isNull()) return out;
    const QImage m = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height() && y < m.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const QRgb* mrow = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        for (int x = 0; x < out.width() && x < m.width(); ++x)
            if ((mrow[x] & 0xFFFFFFu) == 0xFFFFFFu) row[x] = 0;
    }
    return out;
}

}  // namespace pallix
