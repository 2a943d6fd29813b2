#include "dialogs/DialogSupport.h"

#include <QLineEdit>

#include "app/texts/TextTables.h"

namespace pallix {

QString UiQString(int index) { return QString::fromStdString(texts::UiText(index)); }

void StyleEntryField(QLineEdit* entry) {
    entry->setFrame(false);
    entry->setStyleSheet(QStringLiteral(
        "QLineEdit { color: rgb(250,250,250); background: rgb(43,43,43); border: none;"
        " selection-background-color: rgb(150,15,15); }"
        "QLineEdit:disabled, QLineEdit[readOnly=\"true\"] { color: rgb(125,125,125); background: transparent; }"));
}

QString ElideCaption(const QString& text, int characters) {
    if (text.size() <= characters) return text;
    return text.left(characters - 1) + QChar(0x2026);
}

QString ValidatedNumber(const QString& input, int max) {
    QString t = input.left(8);
    for (;;) {
        const int n = int(t.size());
        int digits = 0;
        long long v = 0;
        while (digits < n && t[digits].isDigit() && t[digits].unicode() < 128 && v <= max) {
            v = v * 10 + (t[digits].unicode() - '0');
            ++digits;
        }
        long long tenPower = 1;
        for (int i = 1; i < n && tenPower <= 100000000; ++i) tenPower *= 10;
        if (v > max) {
            t = QString::number(max);
        } else if ((n >= 2 && v < tenPower) || (n >= 1 && v == 0 && t[0] != QLatin1Char('0'))) {
            t.chop(1);
        } else {
            return t;
        }
    }
}

}  // namespace pallix
