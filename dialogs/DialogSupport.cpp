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

}  // namespace pallix
