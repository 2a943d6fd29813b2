// Button strips, option strips and slider pictures.
#include "Program.h"

namespace artgen {
namespace {

QColor TextFor(int state) {
    return state == kDisabled ? pal::textOff : state == kHover ? QColor(255, 250, 250) : pal::text;
}

// A flat strip with a square mark before the label: red when on, dark when off.
QImage OptionStrip(int w, int h, const QString& label, bool on) {
    return Strip(w, h, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        Chamfer(p, r, 3, s == kHover ? pal::panelLight : pal::panel,
                s == kHover || s == kPressed ? pal::accent : pal::borderDim);
        const int box = h - 12;
        const QRect mark(r.left() + 7, r.top() + (h - box) / 2, box, box);
        Chamfer(p, mark, 0, on ? (s == kDisabled ? pal::accentDark : pal::accent) : pal::panelDark,
                on ? pal::accentBright : pal::border);
        Label(p, QRect(mark.right() + 8, r.top(), w - box - 18, h), label, 11, TextFor(s),
              Qt::AlignLeft | Qt::AlignVCenter);
    });
}

// Drop field: caption area (20,5)-(134,22), arrow box on the right.
QImage DropStrip() {
    return Strip(150, 27, kKeyDialog, [](QPainter& p, QRect r, int s) {
        Chamfer(p, r, 3, s == kPressed ? pal::panelDark : s == kHover ? pal::panelLight : QColor(40, 40, 44),
                s == kHover || s == kPressed ? pal::accent : pal::border);
        const QRect arrowBox(r.left() + 134, r.top() + 3, 13, 21);
        p.fillRect(arrowBox, s == kDisabled ? pal::panel : pal::accentDark);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? pal::textOff : pal::text);
        const QPointF c = QRectF(arrowBox).center();
        p.drawPolygon(QPolygonF({c + QPointF(-4.5, -2.5), c + QPointF(4.5, -2.5), c + QPointF(0, 3.5)}));
        p.restore();
    });
}

// Small square button with a glyph drawn by code: 0 right, 1 up, 2 down, 3 plus, 4 minus.
QImage GlyphStrip(int w, int h, int glyph) {
    return Strip(w, h, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        ButtonFrame(p, r, s, false);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? pal::textOff : s == kHover ? pal::accentBright : pal::text);
        QPointF c = QRectF(r).center() + (s == kPressed ? QPointF(1, 1) : QPointF(0, 0));
        const qreal a = qMin(w, h) * 0.22;
        switch (glyph) {
        case 0: p.drawPolygon(QPolygonF({c + QPointF(-a, -a), c + QPointF(a, 0), c + QPointF(-a, a)})); break;
        case 1: p.drawPolygon(QPolygonF({c + QPointF(-a, a * 0.6), c + QPointF(a, a * 0.6), c + QPointF(0, -a)})); break;
        case 2: p.drawPolygon(QPolygonF({c + QPointF(-a, -a * 0.6), c + QPointF(a, -a * 0.6), c + QPointF(0, a)})); break;
        case 3: p.drawRect(QRectF(c.x() - a, c.y() - 1, 2 * a, 2)); p.drawRect(QRectF(c.x() - 1, c.y() - a, 2, 2 * a)); break;
        default: p.drawRect(QRectF(c.x() - a, c.y() - 1, 2 * a, 2)); break;
        }
        p.restore();
    });
}

// Push button with a small red record dot or stop square before its label.
QImage MarkedButton(const QString& label, bool dot) {
    return Strip(93, 27, kKeyDialog, [&](QPainter& p, QRect r, int s) {
        ButtonFrame(p, r, s, false);
        const QRect t = s == kPressed ? r.translated(1, 1) : r;
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? pal::accentDark : pal::accentBright);
        const QRectF m(t.left() + 12, t.top() + 9, 9, 9);
        if (dot) p.drawEllipse(m); else p.drawRect(m);
        p.restore();
        Label(p, t.adjusted(22, 0, 0, 0), label, 11, TextFor(s));
    });
}

// Slider channel (key white) with rounded ends and tick marks.
QImage Channel(int w, int h, int ticks) {
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(pal::border, 1));
    p.setBrush(pal::panelDark);
    p.drawRoundedRect(QRectF(0.5, h / 2.0 - 6, w - 1, 12), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::accentDark);
    p.drawRoundedRect(QRectF(4, h / 2.0 - 2, w - 8, 4), 2, 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < ticks; ++i) {
        const int x = ticks == 1 ? w / 2 : 8 + (w - 17) * i / (ticks - 1);
        p.fillRect(QRect(x, 1, 1, h / 2 - 8), pal::textDim);
        p.fillRect(QRect(x, h / 2 + 8, 1, h / 2 - 9), pal::textDim);
    }
    p.end();
    return Finish(layer, kKeyChannel);
}

// Thumb (key RGB 0,64,0): a chamfered block with grip lines.
QImage Thumb(int w, int h, bool active) {
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, w, h), qMin(5, w / 4), active ? pal::accent : QColor(60, 60, 66),
            active ? pal::accentBright : QColor(120, 120, 128));
    for (int i = -1; i <= 1; ++i)
        p.fillRect(QRect(w / 2 + i * 4, h / 4, 1, h / 2), active ? QColor(255, 200, 200) : pal::accentBright);
    p.end();
    return Finish(layer, kKeyDialog);
}

// Vertical sensitivity bar (key white): a column of segments, dark or lit.
QImage Bar(bool lit) {
    const int w = 28, h = 290;
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, w, h), 4, pal::panelDark, pal::border);
    for (int y = 4; y + 3 <= h - 4; y += 5) {
        const qreal f = 1.0 - qreal(y) / h;  // brighter towards the top (higher sensitivity)
        const QColor c = lit ? QColor(int(150 + 90 * f), int(14 + 30 * f), int(24 + 20 * f))
                             : QColor(44 + int(10 * f), 44 + int(10 * f), 50 + int(10 * f));
        p.fillRect(QRect(4, y, w - 8, 3), c);
    }
    p.end();
    return Finish(layer, kKeyChannel);
}

}  // namespace

void AddButtonPictures(std::vector<Picture>& out) {
    struct Btn { int id; int w; const char* label; bool accent; const char* users; };
    const Btn buttons[] = {
        {338, 93, "OK", false, "CSkinDlg, CSkinMacroDlg, CSkinLedDlg"},
        {337, 93, "CANCEL", false, "CSkinDlg, CSkinMacroDlg, CSkinLedDlg"},
        {336, 93, "APPLY", false, "CSkinMacroDlg, CSkinLedDlg"},
        {247, 93, "YES", false, "CSkinDlg"},
        {342, 93, "OK", false, "CSkinCfgDlg"},
        {340, 93, "CANCEL", false, "CSkinCfgDlg"},
        {339, 93, "APPLY", false, "CSkinCfgDlg"},
        {344, 130, "RESET TO DEFAULT", false, "CSkinCfgDlg"},
        {173, 80, "125 Hz", false, "CSkinCfgDlg"}, {175, 80, "125 Hz", true, "CSkinCfgDlg"},
        {174, 80, "500 Hz", false, "CSkinCfgDlg"}, {176, 80, "500 Hz", true, "CSkinCfgDlg"},
        {346, 80, "1000 Hz", false, "CSkinCfgDlg"}, {347, 80, "1000 Hz", true, "CSkinCfgDlg"},
        {449, 93, "ON", false, "CSkinLedDlg"}, {450, 93, "ON", true, "CSkinLedDlg"},
        {451, 93, "OFF", false, "CSkinLedDlg"}, {452, 93, "OFF", true, "CSkinLedDlg"},
        {263, 93, "DELETE", false, "CSkinMacroDlg"},
        {112, 93, "NEW", false, "CSkinMacroDlg"},
        {265, 93, "LOAD", false, "CSkinMacroDlg"},
        {266, 93, "SAVE AS", false, "CSkinMacroDlg"},
        {113, 93, "DEL FILE", false, "CSkinMacroDlg"},
    };
    for (const Btn& b : buttons) {
        const QString label = QString::fromLatin1(b.label);
        const bool accent = b.accent;
        const int w = b.w;
        out.push_back({ArtSet::Program, b.id,
                       QStringLiteral("4-frame strip %1x27, %2%3").arg(w).arg(label, accent ? " (selected, red)" : ""),
                       QString::fromLatin1(b.users),
                       [=] { return ButtonStrip(w, 27, label, accent, label.size() > 10 ? 10 : 12); }});
    }
    struct Opt { int id; const char* label; bool on; const char* users; int w; };
    const Opt options[] = {
        {268, "ONCE", true, "CSkinDlg", 230}, {271, "ONCE", false, "CSkinDlg", 230},
        {269, "MULTIPLE TIMES", true, "CSkinDlg", 230}, {272, "MULTIPLE TIMES", false, "CSkinDlg", 230},
        {270, "WHEN PRESS & HOLD", true, "CSkinDlg", 230}, {273, "WHEN PRESS & HOLD", false, "CSkinDlg", 230},
        {472, "UNTIL PRESSED NEXT TIME", true, "CSkinDlg", 230}, {473, "UNTIL PRESSED NEXT TIME", false, "CSkinDlg", 230},
        {348, "ONE SCREEN AT A TIME", true, "CSkinCfgDlg", 190}, {349, "ONE SCREEN AT A TIME", false, "CSkinCfgDlg", 190},
        {358, "WITHOUT DELAY", true, "CSkinMacroDlg", 170}, {357, "WITHOUT DELAY", false, "CSkinMacroDlg", 170},
        {360, "DEFAULT DELAY", true, "CSkinMacroDlg", 170}, {359, "DEFAULT DELAY", false, "CSkinMacroDlg", 170},
    };
    for (const Opt& o : options) {
        const QString label = QString::fromLatin1(o.label);
        const bool on = o.on;
        const int w = o.w;
        const int h = w == 230 ? 28 : 24;
        out.push_back({ArtSet::Program, o.id,
                       QStringLiteral("4-frame strip %1x%2, %3 with %4 mark").arg(w).arg(h).arg(label, on ? "red (on)" : "dark (off)"),
                       QString::fromLatin1(o.users), [=] { return OptionStrip(w, h, label, on); }});
    }
    for (int id : {471, 126, 127})
        out.push_back({ArtSet::Program, id,
                       QStringLiteral("4-frame strip 150x27, dark drop field with a down arrow (caption area 20,5-134,22)"),
                       id == 471 ? QStringLiteral("CSkinDlg drop button 1808") : QStringLiteral("CSkinMacroDlg drop button"),
                       DropStrip});
    struct Glyph { int id; int w; int h; int glyph; const char* shows; };
    const Glyph glyphs[] = {{258, 40, 24, 0, "right arrow (insert / adjust / configure)"},
                            {261, 40, 24, 1, "up arrow (move line up)"},
                            {262, 40, 24, 2, "down arrow (move line down)"},
                            {350, 22, 22, 3, "plus (one delay unit more)"},
                            {351, 22, 22, 4, "minus (one delay unit less)"}};
    for (const Glyph& g : glyphs) {
        const int w = g.w, h = g.h, glyph = g.glyph;
        out.push_back({ArtSet::Program, g.id, QStringLiteral("4-frame strip %1x%2, %3").arg(w).arg(h).arg(QString::fromLatin1(g.shows)),
                       QStringLiteral("CSkinMacroDlg"), [=] { return GlyphStrip(w, h, glyph); }});
    }
    out.push_back({ArtSet::Program, 256, QStringLiteral("4-frame strip 93x27, red dot and RECORD"),
                   QStringLiteral("CSkinMacroDlg"), [] { return MarkedButton(QStringLiteral("RECORD"), true); }});
    out.push_back({ArtSet::Program, 257, QStringLiteral("4-frame strip 93x27, red square and STOP"),
                   QStringLiteral("CSkinMacroDlg"), [] { return MarkedButton(QStringLiteral("STOP"), false); }});

    out.push_back({ArtSet::Program, 186, QStringLiteral("slider channel 284x32, 4 ticks (key white)"),
                   QStringLiteral("CSkinCfgDlg slider 1209"), [] { return Channel(284, 32, 4); }});
    out.push_back({ArtSet::Program, 180, QStringLiteral("slider thumb 71x32 (key 0,64,0)"),
                   QStringLiteral("CSkinCfgDlg slider 1209"), [] { return Thumb(71, 32, false); }});
    out.push_back({ArtSet::Program, 181, QStringLiteral("slider thumb 71x32, active (red)"),
                   QStringLiteral("CSkinCfgDlg slider 1209"), [] { return Thumb(71, 32, true); }});
    out.push_back({ArtSet::Program, 177, QStringLiteral("slider channel 200x20, 10 ticks (key white)"),
                   QStringLiteral("CSkinCfgDlg sliders 1044-1046"), [] { return Channel(200, 20, 10); }});
    out.push_back({ArtSet::Program, 178, QStringLiteral("slider thumb 16x20 (key 0,64,0)"),
                   QStringLiteral("CSkinCfgDlg sliders 1044-1046"), [] { return Thumb(16, 20, false); }});
    out.push_back({ArtSet::Program, 179, QStringLiteral("slider thumb 16x20, active (red)"),
                   QStringLiteral("CSkinCfgDlg sliders 1044-1046"), [] { return Thumb(16, 20, true); }});
    out.push_back({ArtSet::Program, 467, QStringLiteral("vertical sensitivity bar 28x290, unlit segments (key white)"),
                   QStringLiteral("CSkinCfgDlg slider 1806"), [] { return Bar(false); }});
    out.push_back({ArtSet::Program, 468, QStringLiteral("vertical sensitivity bar 28x290, lit red segments (key white)"),
                   QStringLiteral("CSkinCfgDlg slider 1806"), [] { return Bar(true); }});
}

}  // namespace artgen
