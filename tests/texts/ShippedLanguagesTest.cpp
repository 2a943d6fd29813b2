// The language files and help documents that ship with the program, read from the
// source tree the way the program reads them from its installation.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/texts/LoadLanguage.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {
namespace fs = std::filesystem;

struct Shipped {
    std::uint16_t languageId;
    const char* file;
    const char* help;
    const char* htmlLang;
};
// One system language for every file the program can choose.
constexpr Shipped kShipped[] = {
    {0x0404, "TradionalChinese.txt", "Information_tc.html", "zh-Hant"},
    {0x0804, "SimpleChinese.txt", "Information_sc.html", "zh-Hans"},
    {0x0405, "Czech.txt", "Information_cz.html", "cs"},
    {0x0407, "German.txt", "Information_de.html", "de"},
    {0x0C0A, "Spanish.txt", "Information_sp.html", "es"},
    {0x040C, "French.txt", "Information_fr.html", "fr"},
    {0x0410, "Italian.txt", "Information_it.html", "it"},
    {0x0411, "Japanese.txt", "Information_jp.html", "ja"},
    {0x0412, "Korean.txt", "Information_ko.html", "ko"},
    {0x0415, "Polish.txt", "Information_po.html", "pl"},
    {0x0416, "Brasil.txt", "Information_br.html", "pt-BR"},
    {0x0419, "Russian.txt", "Information_ru.html", "ru"},
    {0x041E, "Thai.txt", "Information_th.html", "th"},
    {0x041F, "Turkish.txt", "Information_tk.html", "tr"},
    {0x0409, "English.txt", "Information_en.html", "en"},
};

const fs::path& Resources() {
    static const fs::path dir = fs::path(PALLIX_SOURCE_DIR) / "resources";
    return dir;
}

// Every text entry a window can show, with a name for messages.
std::vector<std::pair<std::string, std::string>> ShownEntries(const TextTables& t) {
    std::vector<std::pair<std::string, std::string>> out;
    auto add = [&](const char* table, const auto& entries) {
        for (std::size_t i = 0; i < entries.size(); ++i) out.emplace_back(table + (" " + std::to_string(i)), entries[i]);
    };
    add("ui", t.ui);
    add("message", t.messages);
    out.emplace_back("caption", t.messageBoxCaption);
    add("unit", t.unitWords);
    add("function", t.functionNames);
    add("command", t.commandNames);
    add("led", t.ledCaptions);
    return out;
}

// Entries that may read as in English: the empty string, words the languages share,
// and words that are the same in that language.
bool MayStayEnglish(const std::string& file, const std::string& entry) {
    static const std::set<std::string> shared = {"ui 2", "ui 19" /* OK */, "unit 1" /* ms */};
    static const std::set<std::pair<std::string, std::string>> same = {
        {"French.txt", "caption"},  // "MESSAGE" is French too
        {"Italian.txt", "ui 38"},   // "NO"
        {"Spanish.txt", "ui 38"},
    };
    return shared.count(entry) || same.count({file, entry});
}

// Line number (from 1) where two language files first differ.
int FirstDifferentLine(const std::string& a, const std::string& b) {
    int line = 1;
    for (std::size_t i = 2; i + 1 < a.size() && i + 1 < b.size(); i += 2) {
        if (a[i] != b[i] || a[i + 1] != b[i + 1]) return line;
        if (a[i] == '\n' && a[i + 1] == 0) ++line;
    }
    return line;
}

class ShippedLanguagesTest : public test::TextTablesTest {
protected:
    const ProgramFileLocations fromSource_{nullptr, {}, Resources()};
};

// A file under another name (a typo, another language code) is never chosen.
TEST(ShippedLanguageFoldersTest, HoldOneLanguageFileAndOneHelpDocumentForEveryRow) {
    std::set<std::string> files, helps, expectedFiles, expectedHelps;
    for (const Shipped& s : kShipped) {
        expectedFiles.insert(s.file);
        expectedHelps.insert(s.help);
    }
    for (const auto& e : fs::directory_iterator(Resources() / "Languages"))
        if (e.path().extension() == ".txt") files.insert(e.path().filename().string());
    for (const auto& e : fs::directory_iterator(Resources() / "HELP")) {
        const std::string name = e.path().filename().string();
        if (name.rfind("Information_", 0) == 0) helps.insert(name);
    }
    EXPECT_EQ(files, expectedFiles);
    EXPECT_EQ(helps, expectedHelps);
}

// Each file loads whole through the program's own reader, and writing the tables back
// gives the file byte for byte: the byte-order mark, CR LF everywhere, every entry in
// its place, nothing cut to its table's capacity, the file's own name last and
// nothing after it.
TEST_F(ShippedLanguagesTest, EveryLanguageFileLoadsWholeAndExactly) {
    for (const Shipped& s : kShipped) {
        const LanguageState state = LoadLanguage(s.languageId, fromSource_);
        ASSERT_TRUE(state.languageLoaded) << s.file << ": " << LanguageFileStatusName(state.status);
        EXPECT_EQ(state.languageFile, s.file);
        EXPECT_EQ(state.languagePath, Resources() / "Languages" / s.file);
        const std::string bytes = test::ReadBytes(state.languagePath);
        const std::string again = EncodeLanguageFile(Texts(), s.file);
        EXPECT_EQ(bytes, again) << s.file << " differs from what was read at line "
                                << FirstDifferentLine(bytes, again);
        for (const FontSpec& f : Texts().fonts) EXPECT_FALSE(f.face.empty()) << s.file;
    }
}

TEST_F(ShippedLanguagesTest, EveryShownTextIsTranslated) {
    const auto english = ShownEntries(DefaultTexts());
    for (const Shipped& s : kShipped) {
        if (std::string(s.file) == "English.txt") continue;
        ASSERT_TRUE(LoadLanguage(s.languageId, fromSource_).languageLoaded) << s.file;
        const auto entries = ShownEntries(Texts());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto& [name, text] = entries[i];
            if (MayStayEnglish(s.file, name)) continue;
            EXPECT_NE(text, english[i].second) << s.file << ", " << name << " is still in English";
            EXPECT_FALSE(text.empty()) << s.file << ", " << name;
        }
    }
}

// Messages 2, 13 and 15 get a path, an address or a file name appended.
TEST_F(ShippedLanguagesTest, MessagesWithASuffixEndInASeparator) {
    for (const Shipped& s : kShipped) {
        ASSERT_TRUE(LoadLanguage(s.languageId, fromSource_).languageLoaded) << s.file;
        for (int index : {2, 13, 15}) {
            const std::string& m = MessageText(index);
            const bool blank = !m.empty() && m.back() == ' ';
            const bool wideColon = m.size() >= 3 && m.compare(m.size() - 3, 3, "\xEF\xBC\x9A") == 0;  // U+FF1A
            EXPECT_TRUE(blank || wideColon) << s.file << ", message " << index << ": \"" << m << "\"";
        }
    }
}

// The labels the windows draw (they are part of the pictures, in English); a help
// document names each as <b>LABEL</b>.
constexpr const char* kControlLabels[] = {
    // main window
    "REGISTER", "HELP", "PROFILE 1", "PROFILE 5", "FUNCTION", "MACRO", "LAUNCH", "RESTORE", "NORMAL", "BATTLE",
    "PERFORMANCE", "MACRO EDITOR", "LIGHTING", "RESTORE PROFILE", "APPLY", "CANCEL", "OK",
    // prompt: macro choice and its repeat options
    "ONCE", "MULTIPLE TIMES", "WHEN PRESS &amp; HOLD", "UNTIL PRESSED NEXT TIME", "YES",
    // performance dialog
    "DPI LEVELS", "REPORT RATE", "DOUBLE CLICK SPEED", "CURSOR SPEED", "SCROLL SPEED", "ONE SCREEN AT A TIME",
    "RESET TO DEFAULT",
    // lighting dialog
    "FULL LIGHT", "SECTION LIGHT", "ON", "OFF",
    // macro editor
    "NEW", "DEL FILE", "LOAD", "SAVE AS", "RECORD", "STOP", "DELETE", "COMMANDS", "WITHOUT DELAY", "DEFAULT DELAY",
};

TEST_F(ShippedLanguagesTest, EveryHelpDocumentNamesTheWindowsControls) {
    for (const Shipped& s : kShipped) {
        const LanguageState state = LoadLanguage(s.languageId, fromSource_);
        ASSERT_EQ(state.helpPath, Resources() / "HELP" / s.help) << "the help document for " << s.file;
        const std::string html = test::ReadBytes(state.helpPath);
        EXPECT_NE(html.find(std::string("<html lang=\"") + s.htmlLang + "\">"), std::string::npos) << s.help;
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << s.help;
        EXPECT_NE(html.find("Qx7Monitor"), std::string::npos) << s.help;
        for (const char* label : kControlLabels)
            EXPECT_NE(html.find(std::string("<b>") + label + "</b>"), std::string::npos) << s.help << " names " << label;
        // The function chooser lists these names in the language of the file.
        for (int row : {1, 2, 3, 4, 5, 6, 8, 9})
            EXPECT_NE(html.find(FunctionName(row)), std::string::npos) << s.help << " names " << FunctionName(row);
    }
}

}  // namespace
}  // namespace pallix::texts
