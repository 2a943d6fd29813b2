#include "monitor/MonitorLanguage.h"

#include <QFile>
#include <QFileInfo>

#include "app/texts/ExtraTexts.h"
#include "app/texts/LanguageChoice.h"
#include "common/SettingsStore.h"

namespace pallix::monitor {

namespace {

constexpr qint64 kMaxLineBytes = 32 * 1024;
constexpr int kLines = 6;

// One CR LF line from the current position; the last line may end at the end of the
// file. false when nothing is left.
bool ReadLine(QFile& file, QString& line) {
    const qint64 start = file.pos();
    const QByteArray chunk = file.read(kMaxLineBytes);
    if (chunk.isEmpty()) return false;
    int end = -1;
    for (int i = 0; i + 3 < chunk.size(); i += 2)
        if (chunk[i] == '\r' && chunk[i + 1] == 0 && chunk[i + 2] == '\n' && chunk[i + 3] == 0) {
            end = i;
            break;
        }
    const int length = end < 0 ? static_cast<int>(chunk.size() & ~1) : end;
    line = QString::fromUtf16(reinterpret_cast<const char16_t*>(chunk.constData()), length / 2);
    file.seek(start + (end < 0 ? chunk.size() : end + 4));
    return true;
}

}  // namespace

MenuTexts EnglishTexts() {
    return {QStringLiteral("Launch PALLIX Ostrel Gaming Mouse APP"), QStringLiteral("Visit Vandra Website"),
            QStringLiteral("Enable OSD"), QStringLiteral("Exit"), QStringLiteral("Disable OSD")};
}

QString LanguageFileName(std::uint16_t id) {
    switch (id & 0x3FF) {
    case 0x04: return texts::IsSimplifiedChinese(id) ? QStringLiteral("SimpleChinese.txt") : QStringLiteral("TradionalChinese.txt");
    case 0x05: return QStringLiteral("Czech.txt");
    case 0x07: return QStringLiteral("German.txt");
    case 0x08: return QStringLiteral("Greek.txt");
    case 0x0A: return QStringLiteral("Spanish.txt");
    case 0x0C: return QStringLiteral("French.txt");
    case 0x10: return QStringLiteral("Italian.txt");
    case 0x11: return QStringLiteral("Japanese.txt");
    case 0x12: return QStringLiteral("Korean.txt");
    case 0x15: return QStringLiteral("Polish.txt");
    case 0x16: return QStringLiteral("Brasil.txt");
    case 0x19: return QStringLiteral("Russian.txt");
    case 0x1F: return QStringLiteral("Turkish.txt");
    default: return {};
    }
}

MenuTexts ReadLanguageFile(const QString& path, const QString& expectedName) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return EnglishTexts();
    const QByteArray mark = file.read(2);
    if (mark != QByteArray("\xFF\xFE", 2)) return EnglishTexts();
    MenuTexts texts;
    QString line;
    for (int i = 0; i < kLines; ++i) {
        if (!ReadLine(file, line)) return EnglishTexts();
        if (i < 5) texts[static_cast<std::size_t>(i)] = line.left(kMaxTextLength);
    }
    return line == expectedName ? texts : EnglishTexts();
}

QStringList LanguageFileCandidates(const QString& name, const QString& ownFolder, const QString& installedFolder) {
    // Only menu texts come from here, never code: the current directory is still
    // searched first, as users who keep their own translations expect.
    return {QStringLiteral("./") + name, name, ownFolder + QStringLiteral("/Languages/") + name,
            installedFolder + QStringLiteral("/") + name};
}

std::uint16_t SystemLanguageId() {
    return texts::SystemLanguageId([](std::uint16_t id) { return !LanguageFileName(id).isEmpty(); });
}

std::uint16_t MonitorLanguageId(std::uint32_t languageValue) {
    return (languageValue == 0 || languageValue == kDwordMissing) ? SystemLanguageId()
                                                                  : static_cast<std::uint16_t>(languageValue);
}

QString LanguageFileNameFor(std::uint32_t languageValue) { return LanguageFileName(MonitorLanguageId(languageValue)); }

QString FindLanguageFile(const QString& name, const QString& ownFolder, const QString& installedFolder) {
    if (name.isEmpty()) return {};
    for (const QString& candidate : LanguageFileCandidates(name, ownFolder, installedFolder))
        if (QFileInfo(candidate).isFile()) return candidate;
    return {};
}

QString LoadMonitorExtraTexts(std::uint32_t languageValue, const MenuTexts& menu, const QString& ownFolder,
                              const QString& installedFolder) {
    texts::UseEnglishExtraTexts();
    const QString name = LanguageFileNameFor(languageValue);
    if (name.isEmpty() || menu == EnglishTexts()) return {};
    const QString file = QString::fromStdString(texts::ExtraTextFileName(name.toStdString()));
    for (const QString& candidate : {ownFolder + QStringLiteral("/Texts/") + file, installedFolder + QStringLiteral("/") + file})
        if (QFileInfo(candidate).isFile() && texts::LoadExtraTexts(candidate.toStdString()).opened) return candidate;
    return {};
}

MenuTexts LoadMenuTexts(std::uint32_t languageValue, const QString& ownFolder, const QString& installedFolder) {
    const QString name = LanguageFileNameFor(languageValue);
    const QString path = FindLanguageFile(name, ownFolder, installedFolder);
    return path.isEmpty() ? EnglishTexts() : ReadLanguageFile(path, name);
}

}  // namespace pallix::monitor
