#include "monitor/MonitorPaths.h"

#include "common/SettingNames.h"
#include "monitor/LocateFile.h"
#include "app/texts/ExtraTexts.h"
#include "monitor/MonitorLanguage.h"
#include "programinfo/InstallLayout.h"

namespace pallix::monitor {

MonitorFolders InstalledMonitorFolders() {
    const auto own = ExecutableFolder();
    const auto data = InstalledDataFolder(own);
    // Installed, every program shares one bin folder; in a build tree the
    // configuration program lies in its own folder beside the monitor's.
    const auto buildRoot = BuildTreeRoot(own);
    const auto bin = buildRoot.empty() ? own : buildRoot / kBuildTreeProgramFolder;
    return {own.string(), bin.string(), InstalledLibFolder(own).string(),
            data.empty() ? std::string() : (data / "MonitorLanguages").string(),
            data.empty() ? std::string() : (data / std::string(texts::kExtraTextFolder)).string()};
}

std::string DescribeFoundFiles(SettingsStore& store, const MonitorFolders& folders) {
    const std::string program = LocateConfigurationProgram(store, folders.own, folders.installedBin);
    std::string library = OsdLibraryPath(store, folders.own, folders.installedLib);
    if (!IsReadableFile(library)) library.clear();
    const QString name = LanguageFileNameFor(store.ReadDword(kLanguageValue));
    const QString language = FindLanguageFile(name, QString::fromStdString(folders.own),
                                              QString::fromStdString(folders.installedLanguages));
    const std::string languageText = name.isEmpty()       ? "built-in English"
                                     : language.isEmpty() ? "not found (" + name.toStdString() + ")"
                                                          : language.toStdString();
    const QString texts = LoadMonitorExtraTexts(
        store.ReadDword(kLanguageValue),
        LoadMenuTexts(store.ReadDword(kLanguageValue), QString::fromStdString(folders.own),
                      QString::fromStdString(folders.installedLanguages)),
        QString::fromStdString(folders.own), QString::fromStdString(folders.installedTexts));
    return "configuration program: " + (program.empty() ? "not found" : program) + "\n" +
           "display library: " + (library.empty() ? "not found" : library) + "\n" +
           "language file: " + languageText + "\n" +
           "further texts: " + (texts.isEmpty() ? std::string("built-in English") : texts.toStdString()) + "\n";
}

}  // namespace pallix::monitor
