#pragma once
// Drawing kit of the artwork generator: palette, key colours, panels, button frames
// and four-frame strips. Every picture is drawn on a transparent layer first and then
// "finished": half-covered pixels snap to the picture or to the key colour, so shapes
// keep crisp edges and no pixel of the picture equals the key by accident.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <vector>

namespace artgen {

enum class ArtSet { Program, Osd };

struct Picture {
    ArtSet set = ArtSet::Program;
    int id = 0;
    QString shows;  // what the picture shows
    QString users;  // who uses it
    std::function<QImage()> draw;
};

// Key colours.
inline constexpr QRgb kKeyDialog = qRgb(0, 64, 0);     // dialogs, thumbs
inline constexpr QRgb kKeyChannel = qRgb(255, 255, 255);  // slider channels, masks
inline constexpr QRgb kKeyBusy = qRgb(0, 255, 0);      // busy indicator
inline constexpr QRgb kKeyOsd = qRgb(64, 64, 64);      // on-screen display

// Palette.
namespace pal {
inline const QColor panel(28, 28, 31);
inline const QColor panelDark(15, 15, 17);
inline const QColor panelLight(46, 46, 51);
inline const QColor border(78, 78, 86);
inline const QColor borderDim(55, 55, 61);
inline const QColor accent(204, 24, 36);
inline const QColor accentBright(236, 58, 66);
inline const QColor accentDark(110, 12, 20);
inline const QColor text(236, 236, 236);
inline const QColor textDim(155, 155, 162);
inline const QColor textOff(98, 98, 104);
}  // namespace pal

enum FrameState { kNormal = 0, kPressed = 1, kHover = 2, kDisabled = 3 };

void LoadFonts();
QFont Font(int pixelSize, bool bold = true);

// A transparent layer and its painter setup (antialiased text, aliased shapes).
QImage Layer(int w, int h);
void Setup(QPainter& p);
// Layer -> opaque picture whose uncovered pixels are the key.
QImage Finish(const QImage& layer, QRgb key);
// Black-on-white mask of the covered pixels of a layer (white = outside).
QImage MaskOf(const QImage& layer);

// Rectangle with cut corners (cut = corner size), filled; border colour optional.
void Chamfer(QPainter& p, const QRect& r, int cut, const QColor& fill,
             const QColor& border = QColor());
void Label(QPainter& p, const QRect& r, const QString& text, int px, const QColor& c,
           int flags = Qt::AlignCenter, bool bold = true);
// A framed window face: key outside, title band of 40 px with a red rule.
void DialogFace(QPainter& p, int w, int h, const QString& title);
// Sunken text panel.
void Well(QPainter& p, const QRect& r);

// One button frame in one state. accent = the lit/selected look.
void ButtonFrame(QPainter& p, const QRect& r, int state, bool accent);
// Horizontal strip of four frames (normal, pressed, hover, disabled) of w x h.
QImage Strip(int w, int h, QRgb key, const std::function<void(QPainter&, QRect, int)>& frame);
// The common labelled push-button strip.
QImage ButtonStrip(int w, int h, const QString& label, bool accent = false, int px = 12);

// Colours of the lighting indices 0..6 (index 7 = dark).
QColor LedColour(int index);

}  // namespace artgen
