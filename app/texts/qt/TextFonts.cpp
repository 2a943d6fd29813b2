#include "app/texts/qt/TextFonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

#include "app/texts/FontRule.h"
#include "app/texts/LoadLanguage.h"
#include "app/texts/TextTables.h"
#include "app/texts/qt/LanguageFonts.h"

namespace pallix::texts {
namespace {

constexpr int kLargestPixels = 200;  // a language file cannot ask for more

}  // namespace

int SystemTitleFontHeight() { return -QFontInfo(QApplication::font()).pixelSize(); }

QFont BuildFont(int index) {
    const FontSpec& entry = Font(index);
    QFont font;
    font.setFamilies(QtFontFamilies(entry.face, ShownLanguageId(CurrentLanguage())));
    font.setStyleHint(QFont::SansSerif, QFont::PreferDefault);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    if (index == 0) {
        font.setPointSizeF(Font0PointSize(SystemTitleFontHeight()));
        font.setWeight(static_cast<QFont::Weight>(std::clamp(entry.weight > 0 ? entry.weight : 400, 1, 1000)));
        return font;
    }
    const int pixels = std::min(std::abs(entry.height), kLargestPixels);
    if (pixels > 0) font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(entry.weight > 0 ? entry.weight : 400, 1, 1000)));
    if (entry.width > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0) font.setStretch(std::clamp(entry.width * 100 / natural, 1, 4000));
    }
    return font;
}

}  // namespace pallix::texts
