// Busy frames and captions, key-status strips, profile buttons, list parts, icons.
#include "Program.h"

#include <QPainterPath>
#include <QtMath>

namespace artgen {
namespace {

QImage BusyFrame(int bright) {
    QImage layer = Layer(172, 172);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(86, 86);
    for (int i = 0; i < 12; ++i) {
        const int behind = (bright - i + 12) % 12;  // 0 = the bright bar, then its fading tail
        QColor c = behind == 0 ? pal::accentBright
                 : behind < 4 ? QColor(150 - behind * 25, 30, 38)
                              : QColor(70, 70, 76);
        p.save();
        p.rotate(i * 30.0);
        p.setPen(QPen(QColor(20, 20, 22), 2));
        p.setBrush(c);
        p.drawRoundedRect(QRectF(-6, -84, 12, 24), 5, 5);
        p.restore();
    }
    p.end();
    return Finish(layer, kKeyBusy);
}

QImage Caption(bool writing) {
    QImage layer = Layer(114, 33);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, 114, 33), 6, pal::panelDark, writing ? pal::accent : pal::border);
    p.fillRect(QRect(8, 27, 98, 2), writing ? pal::accentBright : pal::accent);
    Label(p, QRect(0, 0, 114, 28), QStringLiteral("Loading"), 17, pal::text);
    p.end();
    return Finish(layer, kKeyBusy);
}

// Key-status strip: four 187x66 frames, letter icon, small arrow, caption area (77,25)-(179,45).
QImage KeyStatus(const QString& letter) {
    return Strip(187, 66, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        Chamfer(p, r, 6, s == kHover ? pal::panelLight : pal::panel,
                s == kHover || s == kPressed ? pal::accent : pal::border);
        const QRect icon(r.left() + 14, r.top() + 13, 40, 40);
        Chamfer(p, icon, 4, s == kDisabled ? pal::panelDark : letter.isEmpty() ? pal::panelDark : pal::accentDark,
                s == kDisabled ? pal::borderDim : pal::accent);
        if (!letter.isEmpty())
            Label(p, icon, letter, 24, s == kDisabled ? pal::textOff : QColor(255, 245, 245));
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? pal::textOff : pal::accentBright);
        const QPointF a(r.left() + 64, r.top() + 35);
        p.drawPolygon(QPolygonF({a + QPointF(-3, -5), a + QPointF(3, 0), a + QPointF(-3, 5)}));
        p.restore();
        Well(p, QRect(r.left() + 74, r.top() + 22, 108, 26));
    });
}

QImage HeaderPart(int w, int part) {  // 0 middle, 1 left cap of the first item, 2 right cap
    QImage layer = Layer(w, 18);
    QPainter p(&layer);
    Setup(p);
    for (int y = 0; y < 18; ++y) p.fillRect(QRect(0, y, w, 1), QColor(34 - y / 2, 34 - y / 2, 38 - y / 2));
    p.fillRect(QRect(0, 17, w, 1), pal::accent);
    if (part == 1) p.fillRect(QRect(0, 0, 1, 17), pal::border);
    if (part == 2) {
        p.fillRect(QRect(w - 1, 2, 1, 14), pal::border);
        p.fillRect(QRect(w - 2, 2, 1, 14), pal::panelDark);
    }
    p.end();
    return Finish(layer, kKeyDialog);
}

QImage ScrollChannel() {
    QImage img(17, 1, QImage::Format_RGB32);
    for (int x = 0; x < 17; ++x) img.setPixel(x, 0, (x == 0 || x == 16) ? qRgb(50, 50, 56)
                                                     : x == 8 ? qRgb(60, 16, 22) : qRgb(18, 18, 20));
    return img;
}

QImage ScrollThumb() {
    QImage layer = Layer(17, 25);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, 17, 25), 3, QColor(64, 64, 70), pal::accent);
    for (int i = 0; i < 3; ++i) p.fillRect(QRect(5, 8 + i * 4, 7, 1), pal::accentBright);
    p.end();
    return Finish(layer, kKeyDialog);
}

QImage ProfileStrip(int profile, bool selected) {
    return ButtonStrip(100, 30, QStringLiteral("PROFILE %1").arg(profile + 1), selected, 12);
}

// Opaque picture with real transparency outside the covered pixels (icons).
QImage WithAlpha(const QImage& layer) {
    QImage out = layer.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] = qAlpha(row[x]) < 128 ? 0u : (row[x] | 0xFF000000u);
    }
    return out;
}

QImage Icon(int kind) {
    QImage layer = Layer(24, 16);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QColor fg(225, 225, 228), red = pal::accentBright;
    auto arrow = [&](bool down) {
        if (down) p.drawPolygon(QPolygonF({QPointF(16, 5), QPointF(23, 5), QPointF(19.5, 12)}));
        else p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(23, 12), QPointF(19.5, 5)}));
    };
    auto key = [&](bool down) {
        p.setBrush(QColor(60, 60, 66));
        p.drawRoundedRect(QRectF(1, 2, 13, 12), 2, 2);
        p.setBrush(fg);
        p.drawRect(QRectF(4, 5, 7, 2));
        p.setBrush(red);
        arrow(down);
    };
    auto mouse = [&](bool down) {
        p.setBrush(QColor(60, 60, 66));
        p.drawRoundedRect(QRectF(2, 1, 11, 14), 5, 5);
        p.setBrush(red);
        p.drawRect(QRectF(3, 2, 4, 5));
        p.setBrush(fg);
        arrow(down);
    };
    auto text = [&](const QString& t, const QColor& c) {
        p.setFont(Font(11, true));
        p.setPen(c);
        p.drawText(QRect(0, 0, 24, 16), Qt::AlignCenter, t);
        p.setPen(Qt::NoPen);
    };
    switch (kind) {
    case 0: break;
    case 1: key(true); break;
    case 2: key(false); break;
    case 3: mouse(true); break;
    case 4: mouse(false); break;
    case 5: case 6:  // wheel down, wheel up
        p.setBrush(QColor(60, 60, 66)); p.drawRoundedRect(QRectF(3, 1, 8, 14), 4, 4);
        p.setBrush(red); p.drawRect(QRectF(6, 4, 2, 8));
        p.setBrush(fg);
        if (kind == 5) p.drawPolygon(QPolygonF({QPointF(15, 5), QPointF(23, 5), QPointF(19, 12)}));
        else p.drawPolygon(QPolygonF({QPointF(15, 12), QPointF(23, 12), QPointF(19, 5)}));
        break;
    case 7:  // clock
        p.setPen(QPen(fg, 1.6)); p.setBrush(Qt::NoBrush); p.drawEllipse(QPointF(12, 8), 6.5, 6.5);
        p.setPen(QPen(red, 1.6)); p.drawLine(QPointF(12, 8), QPointF(12, 3.5)); p.drawLine(QPointF(12, 8), QPointF(15, 9));
        break;
    case 8: text(QStringLiteral("\u266A"), fg); break;  // consumer key
    case 9:  // move
        p.setPen(QPen(fg, 1.6)); p.drawLine(QPointF(5, 8), QPointF(19, 8)); p.drawLine(QPointF(12, 1), QPointF(12, 15));
        p.setPen(Qt::NoPen); p.setBrush(red); p.drawEllipse(QPointF(12, 8), 2.5, 2.5);
        break;
    case 10: text(QStringLiteral("?"), red); break;   // conditions
    case 11: text(QStringLiteral("\u21B7"), fg); break;  // goto
    case 12: text(QStringLiteral("x="), fg); break;   // set variable
    default: p.setBrush(red); p.drawEllipse(QPointF(12, 8), 3.5, 3.5); break;  // other instructions
    }
    p.end();
    return WithAlpha(layer);
}

// Hot spot on a button of the mouse picture, 22x22 (the button number is the control's text).
QImage HotSpotLayer(int state) {
    QImage layer = Layer(22, 22);
    QPainter p(&layer);
    Setup(p);
    const QColor fill = state == kPressed ? pal::accentDark : state == kHover ? pal::panelLight : pal::panelDark;
    Chamfer(p, QRect(0, 0, 22, 22), 4, fill, state == kNormal ? pal::accent : pal::accentBright);
    if (state == kHover) p.fillRect(QRect(4, 18, 14, 2), pal::accentBright);
    p.end();
    return layer;
}

// Drawn on a 32 x 32 grid, scaled to the size asked for.
QImage AppIconLayer(int size) {
    QImage layer = Layer(size, size);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(pal::accentBright, 2));
    p.setBrush(pal::panelDark);
    p.drawRoundedRect(QRectF(6, 2, 20, 28), 10, 10);
    p.drawLine(QPointF(16, 3), QPointF(16, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::accent);
    p.drawRoundedRect(QRectF(14, 6, 4, 6), 2, 2);
    p.end();
    return layer;
}

QImage AppIcon() { return WithAlpha(AppIconLayer(32)); }

}  // namespace

QImage ApplicationIcon(int size) { return AppIconLayer(size).convertToFormat(QImage::Format_ARGB32); }

void AddSmallPictures(std::vector<Picture>& out) {
    for (int i = 0; i < 12; ++i)
        out.push_back({ArtSet::Program, 405 + i,
                       QStringLiteral("busy frame %1 of 12, 172x172: ring of twelve bars, bar %1 bright (key 0,255,0)").arg(i + 1),
                       QStringLiteral("COsdProgress"), [i] { return BusyFrame(i); }});
    out.push_back({ArtSet::Program, 417, QStringLiteral("busy caption 114x33, Loading (reading the mouse)"),
                   QStringLiteral("COsdProgress"), [] { return Caption(false); }});
    out.push_back({ArtSet::Program, 145, QStringLiteral("busy caption 114x33, Loading with red frame (writing to the mouse)"),
                   QStringLiteral("COsdProgress"), [] { return Caption(true); }});
    const char* letters[5] = {"T", "S", "D", "L", ""};
    const char* kinds[5] = {"macro", "single key", "default function", "application launcher", "none"};
    for (int k = 0; k < 5; ++k) {
        const int id = k == 4 ? 418 : 419 + k;
        const QString letter = QString::fromLatin1(letters[k]);
        out.push_back({ArtSet::Program, id,
                       QStringLiteral("key status strip of four 187x66 frames, %1 (%2)")
                           .arg(letter.isEmpty() ? QStringLiteral("no letter") : QStringLiteral("letter ") + letter,
                                QString::fromLatin1(kinds[k])),
                       QStringLiteral("CUiKeyStatus"), [letter] { return KeyStatus(letter); }});
    }
    for (int i = 0; i < 5; ++i) {
        const int normal = i < 4 ? 165 + i : 288, selected = i < 4 ? 169 + i : 289;
        out.push_back({ArtSet::Program, normal, QStringLiteral("4-frame strip 100x30, PROFILE %1").arg(i + 1),
                       QStringLiteral("CMainFrameDlg %1").arg(1200 + i), [i] { return ProfileStrip(i, false); }});
        out.push_back({ArtSet::Program, selected, QStringLiteral("4-frame strip 100x30, PROFILE %1 selected (red)").arg(i + 1),
                       QStringLiteral("CMainFrameDlg %1").arg(1200 + i), [i] { return ProfileStrip(i, true); }});
    }
    out.push_back({ArtSet::Program, 274, QStringLiteral("list header middle 1x18"), QStringLiteral("CSkinHeaderCtrl"),
                   [] { return HeaderPart(1, 0); }});
    out.push_back({ArtSet::Program, 275, QStringLiteral("list header left cap 4x18"), QStringLiteral("CSkinHeaderCtrl"),
                   [] { return HeaderPart(4, 1); }});
    out.push_back({ArtSet::Program, 276, QStringLiteral("list header right cap 4x18"), QStringLiteral("CSkinHeaderCtrl"),
                   [] { return HeaderPart(4, 2); }});
    out.push_back({ArtSet::Program, 282, QStringLiteral("scroll bar channel row 17x1"), QStringLiteral("CSkinVerticleScrollbar"),
                   ScrollChannel});
    out.push_back({ArtSet::Program, 283, QStringLiteral("scroll bar thumb 17x25"), QStringLiteral("CSkinVerticleScrollbar"),
                   ScrollThumb});
    const char* icons[14] = {"nothing (empty)", "key down", "key up", "wheel down", "wheel up",
                             "mouse button down", "mouse button up", "delay (clock)", "consumer key",
                             "pointer move", "other instruction", "condition (?)", "goto", "set variable"};
    for (int i = 0; i < 14; ++i) {
        // Icon ids 900-913 in the order of their resource numbers.
        const int id = 900 + i;
        out.push_back({ArtSet::Program, id, QStringLiteral("icon 24x16 with alpha, %1").arg(QString::fromLatin1(icons[i])),
                       QStringLiteral("CSkinListCtrl image list"), [i] {
                           // Resource order -> drawing: 903/904 wheel, 905/906 buttons, 910 other, 911 condition.
                           static const int draw[14] = {0, 1, 2, 5, 6, 3, 4, 7, 8, 9, 13, 10, 11, 12};
                           return Icon(draw[i]);
                       }});
    }
    const char* spotStates[3] = {"normal", "pressed", "hover"};
    const int spotDraw[3] = {kNormal, kPressed, kHover};
    for (int i = 0; i < 3; ++i)
        out.push_back({ArtSet::Program, 423 + i,
                       QStringLiteral("button hot spot 22x22, %1 (number drawn by the control)").arg(QString::fromLatin1(spotStates[i])),
                       QStringLiteral("CUiKeyIndex 1791-1798"),
                       [state = spotDraw[i]] { return Finish(HotSpotLayer(state), kKeyDialog); }});
    out.push_back({ArtSet::Program, 426, QStringLiteral("button hot spot shape mask 22x22 (black inside, white outside)"),
                   QStringLiteral("CUiKeyIndex 1791-1798"), [] { return MaskOf(HotSpotLayer(kNormal)); }});
    out.push_back({ArtSet::Program, 800, QStringLiteral("application icon 32x32 with alpha (mouse)"),
                   QStringLiteral("all windows"), AppIcon});
}

}  // namespace artgen
