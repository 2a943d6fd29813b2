// The monitor's parts in this process: the file search, the language files and the
// tray menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QApplication>

#include "monitor/CTaskIcon.h"
#include "monitor/LocateFile.h"
#include "monitor/MonitorLanguage.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/support/TempEnv.h"

namespace pallix::monitor {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

struct CurrentDir {
    explicit CurrentDir(const fs::path& to) : saved(fs::current_path()) { fs::current_path(to); }
    ~CurrentDir() { fs::current_path(saved); }
    fs::path saved;
};

TEST(LocateFileTest, SearchesTrustedFoldersOnlyAndNeverTheCurrentOne) {
    test::TempEnv env;
    SqliteSettingsStore store;
    const fs::path cwd = env.Root() / "cwd", install = env.Root() / "install", own = env.Root() / "own";
    Touch(cwd / "libQx7Osd.so");
    Touch(cwd / "Pallix");
    fs::create_directories(install);
    fs::create_directories(own);
    CurrentDir in(cwd);

    // Planted in the current directory only: not found.
    EXPECT_FALSE(LocateFile(store, "libQx7Osd.so", own));
    EXPECT_EQ(OsdLibraryPath(store, own, "/usr/lib/x"), "/usr/lib/x/libQx7Osd.so");
    EXPECT_EQ(LocateConfigurationProgram(store, own, (env.Root() / "bin").string()), "");

    Touch(own / "libQx7Osd.so");
    EXPECT_EQ(LocateFile(store, "libQx7Osd.so", own), (own / "libQx7Osd.so").string());
    // "Path" comes before the own folder.
    Touch(install / "libQx7Osd.so");
    store.WriteString("Path", install.string());
    EXPECT_EQ(LocateFile(store, "libQx7Osd.so", own), (install / "libQx7Osd.so").string());

    // "Locate APP" wins when it names a readable file; a stale one falls back.
    Touch(env.Root() / "bin" / "Pallix");
    EXPECT_EQ(LocateConfigurationProgram(store, own, (env.Root() / "bin").string()),
              (env.Root() / "bin" / "Pallix").string());
    Touch(own / "Pallix");
    EXPECT_EQ(LocateConfigurationProgram(store, own, "/nowhere"), (own / "Pallix").string());
    store.WriteString("Locate APP", (env.Root() / "gone" / "Pallix").string());
    EXPECT_EQ(LocateConfigurationProgram(store, own, "/nowhere"), (own / "Pallix").string());
    store.WriteString("Locate APP", (cwd / "Pallix").string());
    EXPECT_EQ(LocateConfigurationProgram(store, own, "/nowhere"), (cwd / "Pallix").string());

    // Folders, FIFOs and over-long names are not files.
    EXPECT_FALSE(IsReadableFile(own.string()));
    ASSERT_EQ(mkfifo((own / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(IsReadableFile((own / "fifo").string()));
    EXPECT_FALSE(LocateFile(store, std::string(1100, 'a'), own));
}

void WriteUtf16(const fs::path& path, const std::u16string& text, bool mark = true) {
    std::ofstream out(path, std::ios::binary);
    if (mark) out.write("\xFF\xFE", 2);
    for (char16_t c : text) {
        const char bytes[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        out.write(bytes, 2);
    }
}

TEST(MonitorLanguageTest, FileNamesByLanguageId) {
    const struct {
        std::uint16_t id;
        const char* file;
    } cases[] = {{0x0804, "SimpleChinese.txt"}, {0x0404, "TradionalChinese.txt"}, {0x0C04, "TradionalChinese.txt"},
                 {0x0416, "Brasil.txt"},        {0x0816, "Brasil.txt"},           {0x0407, "German.txt"},
                 {0x040C, "French.txt"},        {0x0408, "Greek.txt"},            {0x0409, ""},
                 {0x041E, ""}};
    for (const auto& c : cases) EXPECT_EQ(LanguageFileName(c.id).toStdString(), c.file) << std::hex << c.id;
}

TEST(MonitorLanguageTest, ShippedFilesAndDamagedOnes) {
    const QString shipped = QStringLiteral(PALLIX_SOURCE_DIR "/resources/MonitorLanguages/");
    const MenuTexts german = ReadLanguageFile(shipped + "German.txt", "German.txt");
    EXPECT_EQ(german[kTextExit], QStringLiteral("Beenden"));
    EXPECT_EQ(german[kTextDisableOsd], QStringLiteral("OSD ausschalten"));
    const MenuTexts french = ReadLanguageFile(shipped + "French.txt", "French.txt");
    EXPECT_EQ(french[kTextExit], QStringLiteral("Quitter"));
    EXPECT_EQ(french[kTextDisableOsd], QString::fromUtf8("Désactiver l'OSD"));

    test::TempEnv env;
    const fs::path f = env.Root() / "German.txt";
    const std::u16string five = u"a\r\nb\r\nc\r\nd\r\ne\r\n";
    const QString path = QString::fromStdString(f.string());
    const struct {
        const char* what;
        std::u16string text;
        bool mark;
        bool english;
    } cases[] = {
        {"good", five + u"German.txt\r\n", true, false},
        {"last line without CR LF", five + u"German.txt", true, false},
        {"name in other case", five + u"german.txt\r\n", true, true},
        {"no sixth line", five, true, true},
        {"no byte-order mark", five + u"German.txt\r\n", false, true},
    };
    for (const auto& c : cases) {
        WriteUtf16(f, c.text, c.mark);
        const MenuTexts t = ReadLanguageFile(path, "German.txt");
        EXPECT_EQ(t == EnglishTexts(), c.english) << c.what;
        if (!c.english) {
            EXPECT_EQ(t[kTextDisableOsd], QStringLiteral("e")) << c.what;
        }
    }
    WriteUtf16(f, std::u16string(100, u'x') + u"\r\nb\r\nc\r\nd\r\ne\r\nGerman.txt\r\n");
    EXPECT_EQ(ReadLanguageFile(path, "German.txt")[0].size(), kMaxTextLength);
}

TEST(MonitorLanguageTest, LanguagesFolderBesideTheMonitor) {
    test::TempEnv env;
    const fs::path own = env.Root() / "bin";
    fs::create_directories(own / "Languages");
    fs::copy_file(PALLIX_SOURCE_DIR "/resources/MonitorLanguages/French.txt", own / "Languages" / "French.txt");
    EXPECT_EQ(LoadMenuTexts(0x040C, QString::fromStdString(own.string()), "/nowhere")[kTextExit],
              QStringLiteral("Quitter"));
    EXPECT_EQ(LoadMenuTexts(0x0407, QString::fromStdString(own.string()), "/nowhere")[kTextExit],
              QStringLiteral("Exit"));
}

TEST(TaskIconTest, MenuItemsAndTheOsdItem) {
    int argc = 1;
    char name[] = "monitor_parts_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::vector<int> commands;
    CTaskIcon icon(EnglishTexts(), [&](int id) { commands.push_back(id); });
    const QList<QAction*> items = icon.menu().actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Launch PALLIX Ostrel Gaming Mouse APP"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Visit Vandra Website"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Disable OSD"));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), QStringLiteral("Exit"));
    icon.SetOsdItem(false);
    EXPECT_EQ(items[2]->text(), QStringLiteral("Enable OSD"));
    icon.SetOsdItem(true);
    EXPECT_EQ(items[2]->text(), QStringLiteral("Disable OSD"));
    // No notification area on this platform: the icon is not added.
    EXPECT_FALSE(icon.AddIcon(QIcon(), "tip"));
    items[2]->trigger();
    items[4]->trigger();
    EXPECT_TRUE(commands.empty());  // posted: delivered by the loop
    QCoreApplication::processEvents();
    EXPECT_EQ(commands, (std::vector<int>{IDM_TRAY_OSD, IDM_TRAY_EXIT}));
}

}  // namespace
}  // namespace pallix::monitor
