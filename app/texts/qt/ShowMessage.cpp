#include "app/texts/qt/ShowMessage.h"

#include <QMessageBox>
#include <QPointer>

#include "app/texts/TextTables.h"
#include "app/texts/qt/TextFonts.h"
#include "dialogs/SkinDlg.h"

namespace pallix::texts {
namespace {

QPointer<CSkinDlg>& Prompt() {
    static QPointer<CSkinDlg> prompt;
    return prompt;
}

bool Ready(const CSkinDlg* prompt) { return prompt && prompt->IsInitialised(); }

}  // namespace

void SetMessagePrompt(CSkinDlg* prompt) { Prompt() = prompt; }
CSkinDlg* MessagePrompt() { return Prompt(); }

MessageRoute ShowMessageText(const QString& text, CSkinDlg* prompt, QWidget* parent) {
    const MessageRoute route = RouteForText(text.toStdString(), Ready(prompt));
    if (route == MessageRoute::SkinnedBox) {
        prompt->mode = CSkinDlg::kMessage;
        prompt->text = text;
        prompt->path.clear();
        prompt->repeatOption = CSkinDlg::kRepeatNone;
        prompt->value = 0;
        prompt->exec();
    } else {
        QMessageBox box(QMessageBox::Critical, QString::fromStdString(MessageBoxCaption()), text, QMessageBox::Ok, parent);
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        box.exec();
    }
    return route;
}

MessageRoute ShowMessage(int index, const QString& suffix, QWidget* parent) {
    if (index < 0 || index >= kMessageCount) return MessageRoute::Nothing;
    return ShowMessageText(QString::fromStdString(MessageText(index)) + suffix, Prompt(), parent);
}

MessageRoute ShowMessageInOwnBox(int index, const QString& suffix) {
    if (index < 0 || index >= kMessageCount) return MessageRoute::Nothing;
    CSkinDlg box;
    box.Initialise(BuildFont(5), BuildFont(4));
    return ShowMessageText(QString::fromStdString(MessageText(index)) + suffix, &box);
}

}  // namespace pallix::texts
