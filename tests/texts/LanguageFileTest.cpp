#include <gtest/gtest.h>

#include <random>

#include "app/texts/LanguageFile.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {

using test::TextTablesTest;

// UTF-16LE bytes of ASCII text.
std::string Utf16(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// The file as a list of lines (without the byte-order mark), for surgery.
std::vector<std::string> Lines(const TextTables& t, std::string_view name) {
    const std::string bytes = EncodeLanguageFile(t, name).substr(2);
    std::vector<std::string> lines;
    const std::string crlf = Utf16("\r\n");
    std::size_t at = 0;
    for (std::size_t next; (next = bytes.find(crlf, at)) != std::string::npos; at = next + 4) {
        if (next % 2 != 0) continue;  // never in this ASCII-and-umlaut content, but be exact
        lines.push_back(bytes.substr(at, next - at));
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines, bool bom = true) {
    std::string out = bom ? "\xFF\xFE" : "";
    for (const auto& l : lines) out += l + Utf16("\r\n");
    return out;
}

TEST_F(TextTablesTest, AFileReadsBackAsTheTablesItWasWrittenFrom) {
    const TextTables marked = test::MarkedTexts("\xC3\xBC-");  // "ü-" on every entry
    TextTables read = DefaultTexts();
    ASSERT_EQ(ParseLanguageFile(EncodeLanguageFile(marked, "Other.txt"), "Other.txt", read), LanguageFileStatus::Loaded);
    EXPECT_EQ(read, marked);
    EXPECT_EQ(Lines(marked, "Other.txt").size(), 7u * 4 + 1 + 58 + 20 + 1 + 1 + 2 + 11 + 21 + 2 + 1);
}

TEST_F(TextTablesTest, BrokenFilesAreRejectedWhole) {
    const auto good = Lines(DefaultTexts(), "German.txt");
    auto withoutLast = good;
    withoutLast.pop_back();
    auto wrongName = good;
    wrongName.back() = Utf16("french.txt");
    auto lowerCase = good;
    lowerCase.back() = Utf16("german.txt");
    auto tooLong = good;
    tooLong[40] = Utf16(std::string(1100, 'x'));
    struct Case { const char* what; std::string bytes; LanguageFileStatus status; };
    const Case cases[] = {
        {"no byte-order mark", Join(good, false), LanguageFileStatus::NoByteOrderMark},
        {"big-endian mark", "\xFE\xFF" + Join(good).substr(2), LanguageFileStatus::NoByteOrderMark},
        {"empty", "", LanguageFileStatus::NoByteOrderMark},
        {"only the mark", "\xFF\xFE", LanguageFileStatus::OutOfLines},
        {"last line missing", Join(withoutLast), LanguageFileStatus::OutOfLines},
        {"last line names another file", Join(wrongName), LanguageFileStatus::WrongLastLine},
        {"last line in other case", Join(lowerCase), LanguageFileStatus::WrongLastLine},
        {"a line of 1100 characters", Join(tooLong), LanguageFileStatus::LineTooLong},
    };
    for (const Case& c : cases) {
        TextTables t = DefaultTexts();
        EXPECT_EQ(ParseLanguageFile(c.bytes, "German.txt", t), c.status) << c.what;
    }
}

TEST_F(TextTablesTest, LastLineMayEndWithoutCrLf) {
    std::string bytes = EncodeLanguageFile(DefaultTexts(), "German.txt");
    bytes.resize(bytes.size() - 4);
    TextTables t;
    EXPECT_EQ(ParseLanguageFile(bytes, "German.txt", t), LanguageFileStatus::Loaded);
    // An odd byte at the very end is no character and changes nothing.
    EXPECT_EQ(ParseLanguageFile(bytes + "x", "German.txt", t), LanguageFileStatus::Loaded);
}

TEST_F(TextTablesTest, LongTextsAreCutToTheirEntryAndNumbersReadLikeAtoi) {
    auto lines = Lines(DefaultTexts(), "German.txt");
    lines[0] = Utf16(std::string(60, 'F'));           // face: 39 characters kept
    lines[1] = Utf16("  -17px");                      // height
    lines[2] = Utf16("abc");                          // width: 0
    lines[3] = Utf16("99999999999999");               // weight: saturates
    lines[29 + 58] = Utf16(std::string(100, 'm'));   // message 0: 79 kept
    lines[29 + 58 + 20 + 1 + 1] = Utf16("seconds!!"); // unit word: 9 kept
    lines[29 + 58 + 20 + 1 + 1 + 2] = Utf16(std::string(45, 'n'));  // function name 0: 39 kept
    TextTables t;
    ASSERT_EQ(ParseLanguageFile(Join(lines), "German.txt", t), LanguageFileStatus::Loaded);
    EXPECT_EQ(t.fonts[0].face, std::string(39, 'F'));
    EXPECT_EQ(t.fonts[0].height, -17);
    EXPECT_EQ(t.fonts[0].width, 0);
    EXPECT_EQ(t.fonts[0].weight, 2147483647);
    EXPECT_EQ(t.messages[0], std::string(79, 'm'));
    EXPECT_EQ(t.unitWords[0], "seconds!!");
    EXPECT_EQ(t.functionNames[0], std::string(39, 'n'));
}

TEST_F(TextTablesTest, NulEndsALineAndBadSurrogatesBecomeReplacementCharacters) {
    auto lines = Lines(DefaultTexts(), "German.txt");
    lines[29] = Utf16("Ab") + std::string("\0\0", 2) + Utf16("cd");
    lines[30] = std::string("\x00\xD8", 2) + Utf16("x");  // lone high surrogate
    lines[31] = std::string("\x3D\xD8\x00\xDE", 4);        // U+1F600 as a pair
    TextTables t;
    ASSERT_EQ(ParseLanguageFile(Join(lines), "German.txt", t), LanguageFileStatus::Loaded);
    EXPECT_EQ(t.ui[0], "Ab");
    EXPECT_EQ(t.ui[1], "\xEF\xBF\xBDx");
    EXPECT_EQ(t.ui[2], "\xF0\x9F\x98\x80");
}

TEST_F(TextTablesTest, ArbitraryBytesNeverCrash) {
    std::mt19937 rng(7);
    const std::string good = EncodeLanguageFile(DefaultTexts(), "German.txt");
    for (int round = 0; round < 300; ++round) {
        std::string bytes = good.substr(0, rng() % good.size());
        for (int flips = rng() % 20; flips > 0; --flips)
            if (bytes.size() > 2) bytes[2 + rng() % (bytes.size() - 2)] = static_cast<char>(rng());
        TextTables t;
        (void)ParseLanguageFile(bytes, "German.txt", t);
    }
}

TEST_F(TextTablesTest, ReadingFromDiskChecksTheFileItself) {
    const auto dir = env_.Root() / "lang";
    TextTables t;
    EXPECT_EQ(ReadLanguageFile(dir / "none.txt", "none.txt", t), LanguageFileStatus::CannotOpen);
    std::filesystem::create_directories(dir / "folder.txt");
    EXPECT_EQ(ReadLanguageFile(dir / "folder.txt", "folder.txt", t), LanguageFileStatus::CannotOpen);
    test::WriteBytes(dir / "huge.txt", std::string(kMaxLanguageFileBytes + 2, 'a'));
    EXPECT_EQ(ReadLanguageFile(dir / "huge.txt", "huge.txt", t), LanguageFileStatus::CannotOpen);
    test::WriteBytes(dir / "German.txt", EncodeLanguageFile(test::MarkedTexts("d-"), "German.txt"));
    EXPECT_EQ(ReadLanguageFile(dir / "German.txt", "German.txt", t), LanguageFileStatus::Loaded);
    EXPECT_EQ(t.messages[1], "d-No Gamer Mouse Connected!");
}

}  // namespace
}  // namespace pallix::texts
