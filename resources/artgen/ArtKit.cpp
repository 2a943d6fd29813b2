#include "ArtKit.h"

#include <QFontDatabase>
#include <QPolygon>

namespace artgen {
namespace {
QString gFamily = QStringLiteral("DejaVu Sans");
}

void LoadFonts() {
    for (const char* file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id >= 0) gFamily = QFontDatabase::applicationFontFamilies(id).value(0, gFamily);
    }
}

QFont Font(int pixelSize, bool bold) {
    QFont f(gFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QImage Layer(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void Setup(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QImage Finish(const QImage& layer, QRgb key) {
    const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            if (qAlpha(s[x]) < 128) {
                d[x] = key | 0xFF000000u;
                continue;
            }
            QRgb c = qRgb(qRed(s[x]), qGreen(s[x]), qBlue(s[x]));
            if ((c & 0xFFFFFFu) == (key & 0xFFFFFFu))
                c = qRgb(qRed(c), qGreen(c), qBlue(c) ^ 1);
            d[x] = c;
        }
    }
    return out;
}

QImage MaskOf(const QImage& layer) {
    const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            out.setPixel(x, y, qAlpha(src.pixel(x, y)) < 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return out;
}

static QPolygon ChamferPolygon(const QRect& r, int c) {
    const int l = r.left(), t = r.top(), rr = r.right() + 1, b = r.bottom() + 1;
    return QPolygon({QPoint(l + c, t), QPoint(rr - c, t), QPoint(rr, t + c), QPoint(rr, b - c),
                     QPoint(rr - c, b), QPoint(l + c, b), QPoint(l, b - c), QPoint(l, t + c)});
}

void Chamfer(QPainter& p, const QRect& r, int cut, const QColor& fill, const QColor& border) {
    p.save();
    p.setPen(Qt::NoPen);
    if (border.isValid()) {
        p.setBrush(border);
        p.drawPolygon(ChamferPolygon(r, cut));
        p.setBrush(fill);
        p.drawPolygon(ChamferPolygon(r.adjusted(1, 1, -1, -1), qMax(0, cut - 1)));
    } else {
        p.setBrush(fill);
        p.drawPolygon(ChamferPolygon(r, cut));
    }
    p.restore();
}

void Label(QPainter& p, const QRect& r, const QString& text, int px, const QColor& c, int flags,
           bool bold) {
    p.save();
    p.setFont(Font(px, bold));
    p.setPen(c);
    p.drawText(r, flags | Qt::TextWordWrap, text);
    p.restore();
}

void DialogFace(QPainter& p, int w, int h, const QString& title) {
    const QRect all(0, 0, w, h);
    Chamfer(p, all, 12, pal::panel, pal::border);
    // Title band.
    p.fillRect(QRect(2, 2, w - 4, 38), pal::panelDark);
    Chamfer(p, QRect(1, 1, w - 2, 39), 11, pal::panelDark);
    p.fillRect(QRect(1, 40, w - 2, 2), pal::accent);
    p.fillRect(QRect(16, 14, 12, 12), pal::accent);
    Label(p, QRect(38, 2, w - 60, 38), title, 17, pal::text, Qt::AlignLeft | Qt::AlignVCenter);
}

void Well(QPainter& p, const QRect& r) {
    Chamfer(p, r, 4, pal::panelDark, pal::borderDim);
}

void ButtonFrame(QPainter& p, const QRect& r, int state, bool accent) {
    QColor top, bottom, border;
    switch (state) {
    case kPressed:
        top = accent ? QColor(120, 14, 22) : QColor(18, 18, 20);
        bottom = accent ? QColor(150, 18, 28) : QColor(30, 30, 33);
        border = pal::accent;
        break;
    case kHover:
        top = accent ? QColor(236, 52, 60) : QColor(70, 70, 78);
        bottom = accent ? QColor(170, 22, 32) : QColor(44, 44, 50);
        border = pal::accentBright;
        break;
    case kDisabled:
        top = bottom = QColor(36, 36, 39);
        border = pal::borderDim;
        break;
    default:
        top = accent ? QColor(214, 34, 44) : QColor(58, 58, 64);
        bottom = accent ? QColor(140, 16, 26) : QColor(34, 34, 38);
        border = accent ? QColor(240, 90, 96) : QColor(96, 96, 104);
        break;
    }
    Chamfer(p, r, 4, border);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(ChamferPolygon(r.adjusted(1, 1, -1, -1), 3));
    p.restore();
    if (state == kHover && !accent) p.fillRect(QRect(r.left() + 4, r.bottom() - 2, r.width() - 8, 2), pal::accent);
}

QImage Strip(int w, int h, QRgb key, const std::function<void(QPainter&, QRect, int)>& frame) {
    QImage layer = Layer(4 * w, h);
    QPainter p(&layer);
    Setup(p);
    for (int s = 0; s < 4; ++s) {
        p.save();
        p.setClipRect(QRect(s * w, 0, w, h));
        frame(p, QRect(s * w, 0, w, h), s);
        p.restore();
    }
    p.end();
    return Finish(layer, key);
}

static QColor LabelColour(int state, bool accent) {
    if (state == kDisabled) return pal::textOff;
    if (state == kHover || accent) return QColor(255, 250, 250);
    return pal::text;
}

QImage ButtonStrip(int w, int h, const QString& label, bool accent, int px) {
    return Strip(w, h, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        ButtonFrame(p, r, s, accent);
        const QRect t = s == kPressed ? r.translated(1, 1) : r;
        Label(p, t, label, px, LabelColour(s, accent));
    });
}

QColor LedColour(int index) {
    static const QColor colours[] = {QColor(230, 30, 40),  QColor(170, 60, 230),
                                     QColor(40, 110, 245), QColor(40, 215, 225),
                                     QColor(238, 238, 242), QColor(245, 215, 40),
                                     QColor(50, 215, 80)};
    return index >= 0 && index < 7 ? colours[index] : QColor(44, 44, 48);
}

}  // namespace artgen
