#pragma once
// Showing an entry of the message table: in the main window's skinned box (mode 251)
// when it is ready and the text is shorter than 40 characters, otherwise in the
// system message box (topmost, error icon, the table's message-box caption).
#include <QString>

#include "app/texts/MessageRule.h"

class QWidget;

namespace pallix {
class CSkinDlg;
}

namespace pallix::texts {

// The main window's prompt (nullptr while there is none).
void SetMessagePrompt(CSkinDlg* prompt);
CSkinDlg* MessagePrompt();

// Message `index` (0-19) followed by `suffix`; any other index shows nothing.
// Returns where it went.
MessageRoute ShowMessage(int index, const QString& suffix = QString(), QWidget* parent = nullptr);
// Message `index` when there is no main window yet (a second start): the skinned box
// is one of its own, made for this message.
MessageRoute ShowMessageInOwnBox(int index, const QString& suffix = QString());
// A complete text by the same rule, through the given prompt (the macro editor's).
MessageRoute ShowMessageText(const QString& text, CSkinDlg* prompt, QWidget* parent = nullptr);

}  // namespace pallix::texts
