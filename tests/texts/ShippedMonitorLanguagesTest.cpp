// The monitor's own language files as shipped, found and read the way the monitor
// finds and reads them in its installed folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "monitor/MonitorLanguage.h"

namespace pallix::monitor {
namespace {

const QString kShipped = QStringLiteral(PALLIX_SOURCE_DIR "/resources/MonitorLanguages");

// One language id for every file the monitor can choose.
constexpr struct {
    std::uint16_t id;
    const char* file;
} kRows[] = {
    {0x0804, "SimpleChinese.txt"}, {0x0404, "TradionalChinese.txt"}, {0x0405, "Czech.txt"},
    {0x0407, "German.txt"},        {0x0408, "Greek.txt"},            {0x0C0A, "Spanish.txt"},
    {0x040C, "French.txt"},        {0x0410, "Italian.txt"},          {0x0411, "Japanese.txt"},
    {0x0412, "Korean.txt"},        {0x0415, "Polish.txt"},           {0x0416, "Brasil.txt"},
    {0x0419, "Russian.txt"},       {0x041F, "Turkish.txt"},
};

TEST(ShippedMonitorLanguagesTest, TheFolderHoldsOneFileForEveryRow) {
    QStringList expected;
    for (const auto& row : kRows) expected << QString::fromLatin1(row.file);
    expected.sort();
    EXPECT_EQ(QDir(kShipped).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name), expected);
}

TEST(ShippedMonitorLanguagesTest, EveryFileGivesTranslatedMenuTexts) {
    const MenuTexts english = EnglishTexts();
    for (const auto& row : kRows) {
        const QString name = QString::fromLatin1(row.file);
        ASSERT_EQ(LanguageFileName(row.id), name);
        ASSERT_EQ(FindLanguageFile(name, QStringLiteral("/nonexistent"), kShipped), kShipped + "/" + name);
        const MenuTexts texts = LoadMenuTexts(row.id, QStringLiteral("/nonexistent"), kShipped);
        for (std::size_t slot = 0; slot < texts.size(); ++slot) {
            EXPECT_FALSE(texts[slot].isEmpty()) << row.file << ", slot " << slot;
            EXPECT_NE(texts[slot].toStdString(), english[slot].toStdString()) << row.file << ", slot " << slot << " is still in English";
            EXPECT_LE(texts[slot].size(), kMaxTextLength) << row.file << ", slot " << slot << " would be cut";
        }
        // Exactly the mark, the five texts and the name, each ending in CR LF.
        QFile f(kShipped + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString lines;
        for (const QString& t : texts) lines += t + "\r\n";
        lines += name + "\r\n";
        QByteArray expected("\xFF\xFE", 2);
        for (const QChar c : lines) expected.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        EXPECT_EQ(f.readAll(), expected)
            << row.file;
    }
}

}  // namespace
}  // namespace pallix::monitor
