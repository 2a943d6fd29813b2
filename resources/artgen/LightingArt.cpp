// Lighting dialog: the faces, the five zone parts in eight colours, colour buttons.
#include "Program.h"

#include <QPainterPath>

namespace artgen {
namespace {

struct Zone {
    int selectedBase, selectedHover, base, hover, mask;
    int w, h;
    const char* name;
};
const Zone kZones[5] = {
    {187, 513, 290, 553, 195, 36, 36, "zone 0 (wheel)"},
    {214, 537, 314, 577, 222, 52, 56, "zone 1 (palm logo)"},
    {223, 545, 322, 585, 231, 88, 20, "zone 2 (rear strip)"},
    {196, 521, 298, 561, 204, 51, 125, "zone 3 (left side)"},
    {205, 529, 306, 569, 213, 51, 125, "zone 4 (right side)"},
};

QPainterPath ZoneShape(int zone) {
    const Zone& z = kZones[zone];
    QPainterPath path;
    switch (zone) {
    case 0: path.addEllipse(QRectF(0, 0, z.w, z.h)); break;
    case 1:
        path.moveTo(0, 0); path.lineTo(z.w, 0); path.lineTo(z.w, z.h * 0.55);
        path.lineTo(z.w / 2.0, z.h); path.lineTo(0, z.h * 0.55); path.closeSubpath();
        break;
    case 2: path.addRoundedRect(QRectF(0, 0, z.w, z.h), 9, 9); break;
    default: {  // zones 3 and 4: a band along the left or right flank
        QPainterPath curve;
        const bool left = zone == 3;
        const qreal edge = left ? z.w - 10 : 10, bulge = left ? -8 : z.w + 8;
        curve.moveTo(edge, 9);
        curve.quadTo(bulge, z.h / 2.0, edge, z.h - 9);
        QPainterPathStroker stroker;
        stroker.setWidth(16);
        stroker.setCapStyle(Qt::RoundCap);
        path = stroker.createStroke(curve).simplified();
        break;
    }
    }
    return path;
}

QImage ZoneLayer(int zone, int colour, bool selected, bool hover) {
    const Zone& z = kZones[zone];
    QImage layer = Layer(z.w, z.h);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath shape = ZoneShape(zone);
    const QColor c = LedColour(colour);
    QRadialGradient g(QPointF(z.w / 2.0, z.h / 2.0), qMax(z.w, z.h) * 0.7);
    g.setColorAt(0, colour == 7 ? QColor(54, 54, 60) : c.lighter(125));
    g.setColorAt(1, colour == 7 ? QColor(34, 34, 38) : c.darker(140));
    p.setPen(QPen(hover ? pal::accentBright : colour == 7 ? pal::border : c.darker(200), 2));
    p.setBrush(g);
    p.drawPath(shape);
    if (selected) {
        // The middle of the part (for the flank bands: the middle of their curve).
        const qreal mx = zone == 3 ? 0.5 * (z.w - 10) - 4 : zone == 4 ? z.w - (0.5 * (z.w - 10) - 4) : z.w / 2.0;
        const QPointF m(mx, zone == 1 ? z.h * 0.4 : z.h / 2.0);
        p.setPen(QPen(QColor(250, 250, 250), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(m, 6.5, 6.5);
        p.setPen(Qt::NoPen);
        p.setBrush(pal::panelDark);
        p.drawEllipse(m, 3, 3);
    }
    return layer;
}

// Colour button 150x28: swatch and name; bright = lit look; hover adds a red frame.
QImage ColourButtonLayer(int index, bool bright, bool hover) {
    static const char* const names[7] = {"RED", "PURPLE", "BLUE", "CYAN", "WHITE", "YELLOW", "GREEN"};
    QImage layer = Layer(150, 28);
    QPainter p(&layer);
    Setup(p);
    const QColor c = LedColour(index);
    Chamfer(p, QRect(0, 0, 150, 28), 5, bright ? QColor(52, 52, 58) : pal::panel,
            hover ? pal::accentBright : bright ? c : pal::border);
    Chamfer(p, QRect(6, 5, 30, 18), 2, bright ? c : c.darker(220), bright ? c.lighter(130) : pal::borderDim);
    Label(p, QRect(44, 0, 100, 28), QString::fromLatin1(names[index]), 12,
          bright ? QColor(250, 250, 250) : pal::textDim, Qt::AlignLeft | Qt::AlignVCenter);
    return layer;
}

void MouseOutline(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(pal::border, 2));
    p.setBrush(QColor(36, 36, 40));
    QPainterPath body;
    body.addRoundedRect(QRectF(56, 70, 278, 420), 130, 150);
    p.drawPath(body);
    p.setPen(QPen(pal::borderDim, 2));
    p.drawLine(QPointF(195, 72), QPointF(195, 250));
    p.drawLine(QPointF(70, 250), QPointF(320, 250));
    p.restore();
}

QImage LightingFace(bool redOnly) {
    const int w = 620, h = 500;
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, w, h, QStringLiteral("Light Option"));
    MouseOutline(p);
    if (redOnly) {
        Well(p, QRect(390, 150, 212, 120));
        Well(p, QRect(390, 294, 212, 120));
        Label(p, QRect(398, 196, 196, 28), QStringLiteral("Switch all LEDs"), 11, pal::textDim,
              Qt::AlignCenter, false);
        Label(p, QRect(398, 340, 196, 28), QStringLiteral("Switch the selected part"), 11,
              pal::textDim, Qt::AlignCenter, false);
    } else {
        Label(p, QRect(405, 112, 150, 20), QStringLiteral("COLOR"), 12, pal::textDim,
              Qt::AlignLeft | Qt::AlignVCenter);
        Well(p, QRect(398, 136, 164, 246));
        Label(p, QRect(393, 420, 200, 20), QStringLiteral("LIGHTING"), 12, pal::textDim,
              Qt::AlignLeft | Qt::AlignVCenter);
    }
    return Finish(layer, kKeyDialog);
}

QImage LightLabel(const QString& text) {
    return Strip(180, 27, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        Chamfer(p, r, 3, pal::panelDark, s == kHover ? pal::accent : pal::borderDim);
        p.fillRect(QRect(r.left() + 6, r.top() + 8, 3, 11), s == kDisabled ? pal::accentDark : pal::accent);
        Label(p, r.adjusted(16, 0, 0, 0), text, 12, s == kDisabled ? pal::textOff : pal::text,
              Qt::AlignLeft | Qt::AlignVCenter);
    });
}

}  // namespace

void AddLightingPictures(std::vector<Picture>& out) {
    static const char* const colours[8] = {"red", "purple", "blue", "cyan", "white", "yellow", "green", "dark"};
    for (int zone = 0; zone < 5; ++zone) {
        const Zone& z = kZones[zone];
        const QString name = QString::fromLatin1(z.name);
        for (int c = 0; c < 8; ++c) {
            const QString col = QString::fromLatin1(colours[c]);
            const QString size = QStringLiteral("%1x%2").arg(z.w).arg(z.h);
            struct Set { int base; bool selected; bool hover; const char* what; };
            const Set sets[4] = {{z.selectedBase, true, false, "selected"},
                                 {z.selectedHover, true, true, "selected, hover"},
                                 {z.base, false, false, "not selected"},
                                 {z.hover, false, true, "not selected, hover"}};
            for (const Set& s : sets) {
                const bool sel = s.selected, hov = s.hover;
                out.push_back({ArtSet::Program, s.base + c,
                               QStringLiteral("%1 %2, %3 (%4)").arg(name, size, col, QString::fromLatin1(s.what)),
                               QStringLiteral("CSkinLedDlg zone button %1").arg(1731 + zone),
                               [=] { return Finish(ZoneLayer(zone, c, sel, hov), kKeyDialog); }});
            }
        }
        out.push_back({ArtSet::Program, z.mask,
                       QStringLiteral("%1 shape mask %2x%3 (black inside, white outside)").arg(name).arg(z.w).arg(z.h),
                       QStringLiteral("CSkinLedDlg zone button %1").arg(1731 + zone),
                       [zone] { return MaskOf(ZoneLayer(zone, 7, false, false)); }});
    }
    for (int i = 0; i < 7; ++i) {
        const QString col = QString::fromLatin1(colours[i]);
        const QString users = QStringLiteral("CSkinLedDlg colour button %1").arg(1799 + i);
        out.push_back({ArtSet::Program, 505 + i, QStringLiteral("colour button 150x28, %1, normal").arg(col), users,
                       [i] { return Finish(ColourButtonLayer(i, false, false), kKeyDialog); }});
        out.push_back({ArtSet::Program, 491 + i, QStringLiteral("colour button 150x28, %1, bright").arg(col), users,
                       [i] { return Finish(ColourButtonLayer(i, true, false), kKeyDialog); }});
        out.push_back({ArtSet::Program, 498 + i, QStringLiteral("colour button 150x28, %1, bright with hover frame").arg(col), users,
                       [i] { return Finish(ColourButtonLayer(i, true, true), kKeyDialog); }});
    }
    out.push_back({ArtSet::Program, 512, QStringLiteral("colour button shape mask 150x28"),
                   QStringLiteral("CSkinLedDlg colour buttons 1799-1805"),
                   [] { return MaskOf(ColourButtonLayer(0, false, false)); }});
    out.push_back({ArtSet::Program, 232, QStringLiteral("4-frame strip 180x27, label FULL LIGHT"),
                   QStringLiteral("CSkinLedDlg 1738"), [] { return LightLabel(QStringLiteral("FULL LIGHT")); }});
    out.push_back({ArtSet::Program, 233, QStringLiteral("4-frame strip 180x27, label SECTION LIGHT"),
                   QStringLiteral("CSkinLedDlg 1739"), [] { return LightLabel(QStringLiteral("SECTION LIGHT")); }});
    out.push_back({ArtSet::Program, 335, QStringLiteral("Light Option face 620x500, mouse and COLOR panel (model 0x1801)"),
                   QStringLiteral("CSkinLedDlg"), [] { return LightingFace(false); }});
    out.push_back({ArtSet::Program, 334, QStringLiteral("Light Option face 620x500, mouse and FULL LIGHT / SECTION LIGHT panels (model 0x1802)"),
                   QStringLiteral("CSkinLedDlg"), [] { return LightingFace(true); }});
}

}  // namespace artgen
