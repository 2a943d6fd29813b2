#include "app/QX7App.h"

#include "app/texts/LoadLanguage.h"
#include "app/texts/qt/LanguageFonts.h"
#include "app/texts/qt/QtTranslations.h"
#include "app/texts/qt/ShowMessage.h"
#include "app/window/ConfigDialogs.h"
#include "app/window/MainFrameDlg.h"
#include "common/Posting.h"
#include "platform/HidBackends.h"
#include "platform/InstanceLock.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/UserDirs.h"
#include "platform/pointer/DesktopPointerSettings.h"
#include "platform/pointer/qt/QtPointerSettings.h"

namespace pallix::app {

bool CQX7App::IsAutomation(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i)
        for (const char* spelling : kAutomationSwitches)
            if (arguments[i].compare(QLatin1String(spelling), Qt::CaseInsensitive) == 0) return true;
    return false;
}

int CQX7App::Run(const QStringList& arguments) {
    SqliteSettingsStore store;
    MailboxPoster poster;
    InstanceLock lock(kPallixInstanceLock);
    const std::uint16_t shown = texts::ShownLanguageId(texts::LoadLanguage(&store));
    texts::UseLanguageFonts(shown);
    texts::UseQtTranslations(shown);
    if (lock.HeldElsewhere()) {
        const std::uint32_t handle = store.ReadDword(kProcessHandle);
        if (IsPublishedHandle(handle)) poster.Post(handle, Message{WM_COMMAND, ID_SHOW, 0});
        else texts::ShowMessageInOwnBox(0);
        return 0;
    }

    std::vector<std::unique_ptr<PointerSettings>> extra;
    extra.push_back(std::make_unique<QtPointerSettings>());
    auto pointer = MakeDesktopPointerSettings(std::move(extra));

    ModelParts parts;
    parts.store = &store;
    parts.poster = &poster;
    parts.backends = MakeDefaultHidBackends();
    parts.pointer = pointer.get();
    parts.documentsDir = DocumentsDir();
    parts.findHelpDocument = [&store] { return texts::FindHelpDocument(texts::DefaultLocations(&store)).string(); };
    parts.helpDocumentName = texts::CurrentLanguage().helpDocument;
    parts.translated = texts::SpeaksTranslation(texts::CurrentLanguage());
    parts.findRegistrationPage = [&store] {
        return texts::FindProgramFile(kRegistrationPage, "HELP", texts::DefaultLocations(&store)).string();
    };
    CMainFrameDlg window(std::move(parts), IsAutomation(arguments));
    CConfigDialogs dialogs(window, store, *pointer, poster);
    window.configDialogHook = [&dialogs](int id, int& profile) { return dialogs.Run(id, profile); };
    window.closeDialogsHook = [&dialogs] { dialogs.CloseForLostMouse(); };
    window.RunModal();
    return 0;
}

}  // namespace pallix::app
