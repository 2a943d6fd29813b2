#pragma once
// The five texts of the tray menu, from the monitor's own language files: UTF-16LE
// with a byte-order mark, six CR LF lines, the five texts and then the file's own
// name. Anything wrong with a file gives the built-in English texts.
#include <array>
#include <cstdint>

#include <QString>
#include <QStringList>

namespace pallix::monitor {

enum TextSlot { kTextLaunch = 0, kTextWebsite = 1, kTextEnableOsd = 2, kTextExit = 3, kTextDisableOsd = 4 };
using MenuTexts = std::array<QString, 5>;

// Longest text kept, in characters; longer lines are cut.
inline constexpr int kMaxTextLength = 63;

MenuTexts EnglishTexts();

// The file name for a language id (by its low 10 bits); empty for built-in English.
QString LanguageFileName(std::uint16_t languageId);

// The texts of a file, checked against the expected name; English on any fault.
MenuTexts ReadLanguageFile(const QString& path, const QString& expectedName);

// Where a language file is looked for: the current directory, the name as it is,
// "Languages" beside the monitor, then the installed language folder.
QStringList LanguageFileCandidates(const QString& name, const QString& ownFolder, const QString& installedFolder);

// The desktop's language as a language id, by the configuration program's rule
// (texts::SystemLanguageId) over the monitor's own list of files; 0x0409 when none.
std::uint16_t SystemLanguageId();

// "Language" value (missing or 0: the system's language) -> the language id.
std::uint16_t MonitorLanguageId(std::uint32_t languageValue);
// "Language" value (missing or 0: the system's language) -> the file's name; empty
// for built-in English.
QString LanguageFileNameFor(std::uint32_t languageValue);
// The first candidate that is a file; empty when there is none (or no name).
QString FindLanguageFile(const QString& name, const QString& ownFolder, const QString& installedFolder);

// "Language" value (missing or 0: the system's language) -> texts.
MenuTexts LoadMenuTexts(std::uint32_t languageValue, const QString& ownFolder, const QString& installedFolder);

// The texts beyond the menu (the notice for a mouse closed to the user) in the language
// of the menu when its texts came from a file: "Texts/<name>.texts" beside the
// monitor, then in the installed folder; English otherwise. The file taken, or empty.
QString LoadMonitorExtraTexts(std::uint32_t languageValue, const MenuTexts& menu, const QString& ownFolder,
                              const QString& installedFolder);

}  // namespace pallix::monitor
