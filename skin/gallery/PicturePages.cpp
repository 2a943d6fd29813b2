#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "GalleryPages.h"
#include "resources/Artwork.h"
#include "skin/Region.h"
#include "skin/WndShadow.h"

namespace gallery {
namespace {

using namespace pallix;

const QColor kDesktop(104, 124, 150);

QLabel* Picture(const QImage& img) {
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(img));
    label->setFixedSize(img.size());
    return label;
}

// What a shaped window shows: the picture inside its region over a desktop colour.
QImage OnDesktop(const QImage& picture, QRgb key, int margin = 12) {
    QImage out(picture.width() + 2 * margin, picture.height() + 2 * margin, QImage::Format_RGB32);
    out.fill(kDesktop);
    QPainter p(&out);
    p.translate(margin, margin);
    p.setClipRegion(RegionFromImage(picture, key));
    p.drawImage(0, 0, picture);
    return out;
}

QImage WithCaption(int frame, int caption) {
    QImage img = ProgramArtwork().Image(frame).convertToFormat(QImage::Format_RGB32);
    const QImage c = ProgramArtwork().Image(caption);
    QPainter(&img).drawImage((img.width() - c.width()) / 2, (img.height() - c.height()) / 2, c);
    return img;
}

// The level picture with four digit pictures from x = 20, y = 34.
QImage LevelWithDigits(int level, const int digits[4]) {
    QImage img = OsdArtwork().Image(316 + level);
    QPainter p(&img);
    int x = 20;
    for (int i = 0; i < 4; ++i) {
        const QImage d = OsdArtwork().Image(digits[i] < 0 ? 315 : 305 + digits[i]);
        p.drawImage(x, 34, d);
        x += d.width();
    }
    return img;
}

}  // namespace

QWidget* PicturesPage(bool osd, const std::function<bool(int, QSize)>& filter) {
    const ArtworkSet& set = osd ? OsdArtwork() : ProgramArtwork();
    std::vector<QWidget*> cells;
    int widest = 0;
    for (const ArtworkSet::Entry& e : set.Entries()) {
        if (!filter(e.id, e.size)) continue;
        widest = std::max(widest, e.size.width());
        cells.push_back(Cell(QStringLiteral("%1  (%2 x %3)").arg(e.id).arg(e.size.width()).arg(e.size.height()),
                             Picture(set.Image(e.id))));
    }
    const int columns = std::clamp(1700 / std::max(1, widest + 20), 1, 12);
    return Grid(cells, columns);
}

QWidget* ShadowPage() {
    std::vector<QWidget*> cells;
    for (int id : {251, 469, 474}) {
        const QImage face = ProgramArtwork().Image(id);
        const QRegion region = RegionFromImage(face, qRgb(0, 64, 0));
        const QImage shadow = CWndShadow::BuildShadow(face.size(), region, CWndShadow::kDarkness,
                                                      CWndShadow::kSharpness, CWndShadow::kSize, 0, 0, Qt::black);
        QImage out(face.width() + 40, face.height() + 40, QImage::Format_RGB32);
        out.fill(kDesktop);
        QPainter p(&out);
        p.drawImage(20 - CWndShadow::kSize, 20 - CWndShadow::kSize, shadow);
        p.translate(20, 20);
        p.setClipRegion(region);
        p.drawImage(0, 0, face);
        p.end();
        cells.push_back(Cell(QStringLiteral("face %1 with its region and shadow").arg(id), Picture(out)));
    }
    auto* open = new QPushButton(QStringLiteral("Open a real shaped window with CWndShadow"));
    QObject::connect(open, &QPushButton::clicked, [] { OpenShadowedWindow(); });
    cells.push_back(Cell(CWndShadow::Available() ? QStringLiteral("translucency available")
                                                 : QStringLiteral("no translucency here: windows get no shadow"),
                         open));
    return Grid(cells, 2);
}

QWidget* OpenShadowedWindow() {
    auto* window = new QLabel(nullptr, Qt::FramelessWindowHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QImage face = ProgramArtwork().Image(353);
    window->setPixmap(QPixmap::fromImage(face));
    window->setFixedSize(face.size());
    window->setMask(RegionFromImage(face, qRgb(0, 64, 0)));
    window->move(380, 560);
    window->show();
    auto* shadow = new CWndShadow;
    shadow->setParent(window);
    shadow->CreateShadow(window);
    return window;
}

QWidget* CompositionPage() {
    std::vector<QWidget*> cells;
    for (int i = 0; i < 12; ++i)
        cells.push_back(Cell(QStringLiteral("busy %1 + caption %2").arg(405 + i).arg(i < 6 ? 417 : 145),
                             Picture(OnDesktop(WithCaption(405 + i, i < 6 ? 417 : 145), qRgb(0, 255, 0)))));
    const int dpi900[4] = {-1, 9, 0, 0}, dpi5700[4] = {5, 7, 0, 0}, blank[4] = {-1, -1, -1, -1};
    cells.push_back(Cell(QStringLiteral("level 1, 900 dpi"), Picture(OnDesktop(LevelWithDigits(0, dpi900), qRgb(64, 64, 64)))));
    cells.push_back(Cell(QStringLiteral("level 4, 5700 dpi"), Picture(OnDesktop(LevelWithDigits(3, dpi5700), qRgb(64, 64, 64)))));
    cells.push_back(Cell(QStringLiteral("level 2, step 0: blank"), Picture(OnDesktop(LevelWithDigits(1, blank), qRgb(64, 64, 64)))));
    for (int id : {300, 320, 321, 323, 324, 328})
        cells.push_back(Cell(QStringLiteral("display %1 as shown").arg(id),
                             Picture(OnDesktop(OsdArtwork().Image(id), qRgb(64, 64, 64)))));
    return Grid(cells, 6);
}

}  // namespace gallery
