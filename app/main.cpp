#include <filesystem>
#include <string>

#include <QApplication>

#include "app/QX7App.h"
#include "app/texts/LoadLanguage.h"
#include "platform/SqliteSettingsStore.h"
#include "programinfo/InfoOptions.h"

namespace {

pallix::ProgramHelp Help() {
    std::string automation;
    for (const char* spelling : pallix::app::kAutomationSwitches)
        automation += (automation.empty() ? "" : ", ") + std::string(spelling);
    return {"Pallix",
            "[/Automation]",
            "Configuration program of the Pallix Ostrel mouse: profiles, buttons, DPI, lighting, macros.",
            {{automation, "start in the background: the window stays hidden until asked to show"},
             {pallix::kPrintPathsOption, "print the language file, help document and further texts found, then exit"}}};
}

std::string FoundFiles() {
    pallix::SqliteSettingsStore store;
    const auto state = pallix::texts::LoadLanguage(&store);
    const auto describe = [](const std::filesystem::path& path, const std::string& name) {
        return path.empty() ? "not found (" + name + ")" : path.string();
    };
    return "language file: " + describe(state.languagePath, state.languageFile) + "\n" +
           "help document: " + describe(state.helpPath, state.helpDocument) + "\n" +
           "further texts: " + (state.extraTextsPath.empty() ? "built-in English" : state.extraTextsPath.string()) + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (auto code = pallix::AnswerInfoOption(argc, argv, Help(), FoundFiles)) return *code;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pallix"));
    QApplication::setQuitOnLastWindowClosed(false);
    pallix::app::CQX7App app;
    return app.Run(QApplication::arguments());
}
