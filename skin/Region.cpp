#include "skin/Region.h"

#include <vector>

namespace pallix {
namespace {

// The runs of non-key pixels of one row, as [begin, end) pairs.
void RowRuns(const QRgb* row, int width, QRgb key, std::vector<int>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && row[x] == key) ++x;
        if (x == width) break;
        const int begin = x;
        while (x < width && row[x] != key) ++x;
        runs.push_back(begin);
        runs.push_back(x);
    }
}

}  // namespace

QRegion RegionFromImage(const QImage& picture, QRgb key) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
    // Compare without alpha: the key names a colour, not a transparency.
    const QImage image = picture.format() == QImage::Format_RGB32
                             ? picture
                             : picture.convertToFormat(QImage::Format_RGB32);
    key |= 0xFF000000u;
    const int width = image.width();
    const int height = image.height();

    // QRegion::setRects wants y-x banded rectangles: equal height within a band, sorted,
    // not touching horizontally. Equal consecutive rows become one taller band.
    std::vector<QRect> rects;
    std::vector<int> current;
    std::vector<int> band;
    int bandTop = 0;
    auto flush = [&](int bandBottom) {
        for (std::size_t i = 0; i < band.size(); i += 2)
            rects.emplace_back(QPoint(band[i], bandTop), QPoint(band[i + 1] - 1, bandBottom));
    };
    for (int y = 0; y < height; ++y) {
        RowRuns(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, key, current);
        if (y > 0 && current == band) continue;
        if (y > 0) flush(y - 1);
        band.swap(current);
        bandTop = y;
    }
    flush(height - 1);

    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

}  // namespace pallix
