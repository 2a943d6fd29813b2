// Pictures of the on-screen display library (key colour RGB 64,64,64).
#include "Program.h"

namespace artgen {
namespace {

const QColor kOsdPanel(22, 22, 26);

QImage OsdPanel(int w, int h, const std::function<void(QPainter&)>& content) {
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, w, h), 8, kOsdPanel, pal::accent);
    Chamfer(p, QRect(1, 1, w - 2, h - 2), 7, kOsdPanel, pal::accentDark);
    content(p);
    p.end();
    return Finish(layer, kKeyOsd);
}

QImage Digit(int d) {  // d < 0: blank
    QImage layer = Layer(34, 31);
    QPainter p(&layer);
    Setup(p);
    p.fillRect(QRect(0, 0, 34, 31), kOsdPanel);
    if (d >= 0) Label(p, QRect(0, 0, 34, 31), QString::number(d), 28, pal::text);
    p.end();
    return Finish(layer, kKeyOsd);
}

QImage Arrow(int w, bool left) {
    QImage layer = Layer(w, 57);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF arrow({QPointF(2, 28.5), QPointF(36, 2), QPointF(36, 16), QPointF(w - 3, 16),
                     QPointF(w - 3, 41), QPointF(36, 41), QPointF(36, 55)});
    if (!left)
        for (QPointF& pt : arrow) pt.setX(w - 1 - pt.x());
    p.setPen(QPen(pal::accentBright, 3));
    p.setBrush(kOsdPanel);
    p.drawPolygon(arrow);
    p.end();
    return Finish(layer, kKeyOsd);
}

QImage Word(int w, int h, const QString& word, int px, bool accentFill) {
    return OsdPanel(w, h, [&](QPainter& p) {
        if (accentFill) Chamfer(p, QRect(4, 4, w - 8, h - 8), 5, pal::accentDark);
        Label(p, QRect(0, 0, w, h), word, px, pal::text);
    });
}

}  // namespace

void AddOsdPictures(std::vector<Picture>& out) {
    const QString users = QStringLiteral("COsdWnd");
    for (int i = 0; i < 5; ++i)
        out.push_back({ArtSet::Osd, 300 + i, QStringLiteral("101x41, P%1").arg(i + 1), users, [i] {
                           return OsdPanel(101, 41, [i](QPainter& p) {
                               Label(p, QRect(0, 0, 101, 41), QStringLiteral("P%1").arg(i + 1), 26, pal::text);
                           });
                       }});
    for (int d = 0; d < 10; ++d)
        out.push_back({ArtSet::Osd, 305 + d, QStringLiteral("34x31, digit %1").arg(d), users, [d] { return Digit(d); }});
    out.push_back({ArtSet::Osd, 315, QStringLiteral("34x31, blank digit (panel colour only)"), users, [] { return Digit(-1); }});
    for (int l = 0; l < 4; ++l)
        out.push_back({ArtSet::Osd, 316 + l,
                       QStringLiteral("238x74, LEVEL %1 and DPI; digits go to (20,34)-(156,65)").arg(l + 1), users, [l] {
                           return OsdPanel(238, 74, [l](QPainter& p) {
                               Label(p, QRect(20, 6, 200, 24), QStringLiteral("LEVEL %1").arg(l + 1), 18,
                                     pal::accentBright, Qt::AlignLeft | Qt::AlignVCenter);
                               for (int i = 0; i < 4; ++i)  // level pips
                                   p.fillRect(QRect(168 + i * 14, 14, 10, 6), i <= l ? pal::accent : pal::borderDim);
                               Label(p, QRect(160, 34, 70, 31), QStringLiteral("DPI"), 24, pal::text);
                           });
                       }});
    out.push_back({ArtSet::Osd, 320, QStringLiteral("87x57, arrow pointing left"), users, [] { return Arrow(87, true); }});
    out.push_back({ArtSet::Osd, 321, QStringLiteral("88x57, arrow pointing right"), users, [] { return Arrow(88, false); }});
    out.push_back({ArtSet::Osd, 322, QStringLiteral("237x56, NORMAL"), users,
                   [] { return Word(237, 56, QStringLiteral("NORMAL"), 32, false); }});
    out.push_back({ArtSet::Osd, 323, QStringLiteral("211x56, BATTLE (red field)"), users,
                   [] { return Word(211, 56, QStringLiteral("BATTLE"), 32, true); }});
    out.push_back({ArtSet::Osd, 324, QStringLiteral("136x37, LOCK (red field)"), users,
                   [] { return Word(136, 37, QStringLiteral("LOCK"), 22, true); }});
    out.push_back({ArtSet::Osd, 325, QStringLiteral("189x36, UNLOCK"), users,
                   [] { return Word(189, 36, QStringLiteral("UNLOCK"), 22, false); }});
    const char* rates[4] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    for (int i = 0; i < 4; ++i) {
        const QString rate = QString::fromLatin1(rates[i]);
        out.push_back({ArtSet::Osd, 326 + i, QStringLiteral("189x99, POLLING RATE %1").arg(rate), users, [rate] {
                           return OsdPanel(189, 99, [rate](QPainter& p) {
                               Label(p, QRect(0, 10, 189, 26), QStringLiteral("POLLING RATE"), 17, pal::accentBright);
                               p.fillRect(QRect(30, 40, 129, 1), pal::accentDark);
                               Label(p, QRect(0, 46, 189, 44), rate, 30, pal::text);
                           });
                       }});
    }
}

}  // namespace artgen
