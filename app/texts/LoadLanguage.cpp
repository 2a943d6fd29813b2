#include "app/texts/LoadLanguage.h"

#include "app/texts/TextTables.h"

namespace pallix::texts {
namespace {

LanguageState& Current() {
    static LanguageState state = [] {
        LanguageState s;
        s.languageFile = "English.txt";
        s.helpDocument = std::string(kEnglishHelpDocument);
        return s;
    }();
    return state;
}

}  // namespace

LanguageState LoadLanguage(std::uint16_t languageId, const ProgramFileLocations& where) {
    LanguageState state;
    state.languageId = languageId;
    const LanguageFiles files = ChooseLanguageFiles(languageId);
    state.languageFile = files.languageFile;

    state.helpDocument = files.helpDocument;
    state.helpPath = FindProgramFile(state.helpDocument, kHelpFolder, where);
    if (state.helpPath.empty()) {
        state.helpDocument = std::string(kEnglishHelpDocument);
        state.helpPath = FindProgramFile(state.helpDocument, kHelpFolder, where);
    }

    TextTables tables = DefaultTexts();
    state.languagePath = FindProgramFile(state.languageFile, kLanguageFolder, where);
    state.status = state.languagePath.empty() ? LanguageFileStatus::CannotOpen
                                              : ReadLanguageFile(state.languagePath, state.languageFile, tables);
    state.languageLoaded = state.status == LanguageFileStatus::Loaded;
    SetTexts(state.languageLoaded ? tables : DefaultTexts());
    UseEnglishExtraTexts();
    if (state.languageLoaded) {
        const std::string extra = ExtraTextFileName(state.languageFile);
        const std::filesystem::path found = FindProgramFile(extra, kExtraTextFolder, where);
        if (!found.empty() && LoadExtraTexts(found).opened) state.extraTextsPath = found;
    }
    Current() = state;
    return state;
}

LanguageState LoadLanguage(SettingsStore* settings) {
    return LoadLanguage(SystemLanguageId(), DefaultLocations(settings));
}

const LanguageState& CurrentLanguage() { return Current(); }

std::filesystem::path FindHelpDocument(const ProgramFileLocations& where) {
    return FindProgramFile(Current().helpDocument, kHelpFolder, where);
}

}  // namespace pallix::texts
