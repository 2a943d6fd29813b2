#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"
#include "platform/UserDirs.h"
#include "tests/macro/SampleScripts.h"
#include "tests/support/TempEnv.h"

namespace pallix::macro {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class MacroFiles : public ::testing::Test {
protected:
    pallix::test::TempEnv env;
    fs::path folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
    void SetUp() override { fs::create_directories(folder); }
};

struct HeaderCase {
    const char* name;
    Bytes file;
    int length;
    MacroMessage message;
    DelaySettings delays;
};

void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }


Bytes WithScript(Bytes header, std::size_t scriptBytes) {
    for (std::size_t i = 0; i < scriptBytes; ++i) header.push_back(0x04);
    return header;
}

class HeaderRead : public MacroFiles, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderRead, ReadsOrRefuses) {
    const HeaderCase& c = GetParam();
    const fs::path path = folder / "m.Mac";
    WriteBytes(path, c.file);
    const MacroScript script = ReadMacroFile(path, "m");
    EXPECT_EQ(script.length, c.length);
    EXPECT_EQ(script.message, c.message);
    if (c.length >= 0) {
        EXPECT_EQ(script.delays, c.delays);
        EXPECT_TRUE(std::equal(script.Script().begin(), script.Script().end(), c.file.begin() + 9));
    }
}

constexpr DelaySettings kRealTime{DelayMode::RealTime, 0};
constexpr MacroMessage kOk = MacroMessage::None;

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderRead,
    ::testing::Values(
        HeaderCase{"Empty", {0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0, 0}, 0, kOk, kRealTime},
        HeaderCase{"OldFormat", {0x6D, 0x18, 0x01, 1, 0, 0x19, 1, 0, 0, 0x04}, 1, kOk, kRealTime},
        HeaderCase{"DefaultDelay", {0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0x64, 0}, 0, kOk, {DelayMode::DefaultDelay, 100}},
        HeaderCase{"WithoutDelay", {0x6D, 0x18, 0xA1, 0, 0, 0x19, 0, 0x64, 0}, 0, kOk, {DelayMode::WithoutDelay, 100}},
        HeaderCase{"DefaultDelayCapped", {0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0xFF, 0xFF}, 0, kOk,
                   {DelayMode::DefaultDelay, 5000}},
        HeaderCase{"FullSlotAndTrailingBytesIgnored", WithScript({0x6D, 0x18, 0xA1, 0, 1, 0x19, 1, 0, 0}, 300), 256,
                   kOk, kRealTime},
        HeaderCase{"BadMagic", {0x6D, 0x19, 0xA1, 0, 0, 0x19, 1, 0, 0}, -1, MacroMessage::BadFileFormat, {}},
        HeaderCase{"BadFormat", {0x6D, 0x18, 0xA2, 0, 0, 0x19, 1, 0, 0}, -1, MacroMessage::BadFileFormat, {}},
        HeaderCase{"ShortHeader", {0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0}, -1, MacroMessage::BadFileFormat, {}},
        HeaderCase{"EmptyFile", {}, -1, MacroMessage::BadFileFormat, {}},
        HeaderCase{"ShortScript", {0x6D, 0x18, 0xA1, 3, 0, 0x19, 1, 0, 0, 0x04, 0x05}, -1, MacroMessage::LoadFailed, {}},
        // More than a slot holds: refused as a bad format, even with the bytes there.
        HeaderCase{"Declares257", WithScript({0x6D, 0x18, 0xA1, 1, 1, 0x19, 1, 0, 0}, 257), -1,
                   MacroMessage::BadFileFormat, {}},
        HeaderCase{"Declares65535", WithScript({0x6D, 0x18, 0xA1, 0xFF, 0xFF, 0x19, 1, 0, 0}, 300), -1,
                   MacroMessage::BadFileFormat, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MacroFiles, UnreadablePathsNameTheMacro) {
    for (const fs::path& path : {fs::path(), folder / "missing.Mac", folder}) {
        const MacroScript script = ReadMacroFile(path, "missing");
        EXPECT_EQ(script.length, -1);
        EXPECT_EQ(script.message, MacroMessage::FilePathNotFound);
        EXPECT_EQ(script.suffix, "missing");
    }
}

TEST_F(MacroFiles, WriteThenReadGivesTheLinesAndDelayModeBack) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x01, 0x28, 0x84, 0x83, 0x87, 0, 0, 0, 0, 0x83, 0x02, 0x00, 0x00});
    const fs::path path = folder / "m.Mac";
    ASSERT_TRUE(WriteMacroFile(path, lines, {DelayMode::DefaultDelay, 150}).ok);
    const Bytes file = ReadBytes(path);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 9), (Bytes{0x6D, 0x18, 0xA1, 14, 0, 0x19, 1, 150, 0}));
    const MacroScript read = ReadMacroFile(path, "m");
    EXPECT_EQ(read.delays, (DelaySettings{DelayMode::DefaultDelay, 150}));
    EXPECT_EQ(Bytes(read.Script().begin(), read.Script().end()), lines.EncodeScript());

    ASSERT_TRUE(WriteMacroFile(path, lines, {DelayMode::WithoutDelay, 150}).ok);
    const Bytes without = ReadBytes(path);
    EXPECT_EQ(Bytes(without.begin() + 6, without.begin() + 9), (Bytes{0, 0, 0}));
    EXPECT_EQ(ReadMacroFile(path, "m").delays, (DelaySettings{DelayMode::WithoutDelay, 0}));
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"m.Mac"});  // no temporary left
}

TEST_F(MacroFiles, FailedWriteKeepsTheOldFile) {
    const fs::path path = folder / "m.Mac";
    const Bytes old = {0x6D, 0x18, 0xA1, 1, 0, 0x19, 1, 0, 0, 0x05};
    WriteBytes(path, old);
    CSkinLVCmdList lines;
    lines.Decode(test::EveryKindScript(64));
    // The write runs in a child whose file-size limit makes the write fail midway.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        const FileResult result = WriteMacroFile(path, lines, {});
        _exit(result.ok ? 0 : static_cast<int>(result.message));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(MacroMessage::WriteFailed));
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"m.Mac"});
}

TEST_F(MacroFiles, WriteFailuresNameTheirCause) {
    CSkinLVCmdList lines;
    fs::create_directory(folder / "dir.Mac");  // cannot be replaced by a file
    const FileResult blocked = WriteMacroFile(folder / "dir.Mac", lines, {});
    EXPECT_EQ(blocked.message, MacroMessage::WriteFailed);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"dir.Mac"});

    const fs::path nowhere = folder / "gone" / "m.Mac";
    const FileResult missing = WriteMacroFile(nowhere, lines, {});
    EXPECT_EQ(missing.message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(missing.suffix, nowhere.string());
    EXPECT_EQ(WriteMacroFile({}, lines, {}).message, MacroMessage::FilePathNotFound);
}

TEST_F(MacroFiles, ListShowsMacFilesInAnyCaseWithoutTheirLastFourCharacters) {
    for (const char* name : {"x.MAC", "a.mac", "notes.txt", "mac", "xmac", "abcmac"}) WriteBytes(folder / name, {});
    fs::create_directory(folder / "dir.mac");
    EXPECT_EQ(ListMacros(folder), (std::vector<std::string>{"a", "ab", "x"}));
    EXPECT_TRUE(ListMacros(folder / "missing").empty());
}

TEST_F(MacroFiles, CreateWritesTheEmptyHeaderOnceAndNeverOverwrites) {
    ASSERT_TRUE(CreateMacroFile(folder, "new").ok);
    EXPECT_EQ(ReadBytes(folder / "new.Mac"), (Bytes{0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0, 0}));
    WriteBytes(folder / "new.Mac", {1, 2, 3});
    EXPECT_EQ(CreateMacroFile(folder, "new").message, MacroMessage::MacroExists);
    EXPECT_EQ(ReadBytes(folder / "new.Mac"), (Bytes{1, 2, 3}));

    EXPECT_EQ(CreateMacroFile(folder, "").message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(CreateMacroFile(folder, "../escape").message, MacroMessage::FilePathNotFound);
    const FileResult noFolder = CreateMacroFile(folder / "gone", "m");
    EXPECT_EQ(noFolder.message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(noFolder.suffix, (folder / "gone" / "m.Mac").string());
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"new.Mac"});
}

TEST_F(MacroFiles, ImportCopiesUnderTheTitleAndRefusesToOverwrite) {
    const fs::path source = env.Root() / "Shared.mac.MAC";
    const Bytes contents = {0xDE, 0xAD};  // not examined
    WriteBytes(source, contents);
    EXPECT_EQ(ImportedMacroName(source), "Shared");
    EXPECT_EQ(ImportedMacroName("/x/notes.txt"), "notes");

    const FileResult first = ImportMacroFile(folder, source);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.suffix, "Shared");
    EXPECT_EQ(ReadBytes(folder / "Shared.Mac"), contents);

    WriteBytes(source, {1});
    const FileResult again = ImportMacroFile(folder, source);
    EXPECT_EQ(again.message, MacroMessage::MacroExists);
    EXPECT_EQ(again.suffix, "Shared");
    EXPECT_EQ(ReadBytes(folder / "Shared.Mac"), contents);

    const FileResult missing = ImportMacroFile(folder, env.Root() / "missing.mac");
    EXPECT_EQ(missing.message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(ImportMacroFile(folder, env.Root() / ".mac").message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Shared.Mac"});
}

TEST_F(MacroFiles, DeleteRemovesOnlyAnExistingMacro) {
    ASSERT_TRUE(CreateMacroFile(folder, "m").ok);
    EXPECT_TRUE(DeleteMacroFile(folder, {"m", "m.Mac"}).ok);
    EXPECT_FALSE(fs::exists(folder / "m.Mac"));
    EXPECT_EQ(DeleteMacroFile(folder, {"m", "m.Mac"}).message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(DeleteMacroFile(folder, {}).message, MacroMessage::FilePathNotFound);
    WriteBytes(folder / "notes.txt", {});
    EXPECT_EQ(DeleteMacroFile(folder, {"no", "notes.txt"}).message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(DeleteMacroFile(folder, {"x", "../x.Mac"}).message, MacroMessage::FilePathNotFound);
    EXPECT_TRUE(fs::exists(folder / "notes.txt"));
}

// Files copied from elsewhere keep their extension's case: each listed name leads to
// the file it was listed from, and a new or imported macro never doubles a name.
TEST_F(MacroFiles, EntriesOfAnyExtensionCaseLeadToTheirOwnFile) {
    const Bytes kEmpty = {0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0, 0};
    WriteBytes(folder / "x.MAC", kEmpty);
    WriteBytes(folder / "y.mac", kEmpty);
    WriteBytes(folder / "abcmac", kEmpty);
    EXPECT_EQ(ListMacroEntries(folder),
              (std::vector<MacroEntry>{{"ab", "abcmac"}, {"x", "x.MAC"}, {"y", "y.mac"}}));
    EXPECT_EQ(FindMacroFile(folder, "x"), folder / "x.MAC");
    EXPECT_EQ(FindMacroFile(folder, "ab"), folder / "abcmac");
    EXPECT_TRUE(FindMacroFile(folder, "z").empty());
    EXPECT_TRUE(FindMacroFile(folder, "X").empty());  // names are case-sensitive
    EXPECT_EQ(EntryPath(folder, {"y", "y.mac"}), folder / "y.mac");
    EXPECT_EQ(ReadMacroFile(FindMacroFile(folder, "y"), "y").length, 0);

    WriteBytes(folder / "x.Mac", kEmpty);  // the exact spelling wins
    EXPECT_EQ(FindMacroFile(folder, "x"), folder / "x.Mac");
    fs::remove(folder / "x.Mac");

    EXPECT_EQ(CreateMacroFile(folder, "x").message, MacroMessage::MacroExists);
    const fs::path source = env.Root() / "y.Mac";
    WriteBytes(source, {1, 2});
    const FileResult imported = ImportMacroFile(folder, source);
    EXPECT_EQ(imported.message, MacroMessage::MacroExists);
    EXPECT_EQ(imported.suffix, "y");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"abcmac", "x.MAC", "y.mac"}));

    EXPECT_TRUE(DeleteMacroFile(folder, {"x", "x.MAC"}).ok);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"abcmac", "y.mac"}));
}

TEST_F(MacroFiles, PathsNeedAFolderAndASafeName) {
    EXPECT_EQ(BuildMacroPath(folder, "m"), folder / "m.Mac");
    EXPECT_TRUE(BuildMacroPath("", "m").empty());
    EXPECT_TRUE(BuildMacroPath(folder, "").empty());
    EXPECT_TRUE(BuildMacroPath(folder, "a/b").empty());
    EXPECT_TRUE(BuildMacroPath(folder, "..").empty());
}

TEST(DocumentsDir, ComesFromTheUserDirsFileThenFallsBackToDocuments) {
    pallix::test::TempEnv env;
    const fs::path home = env.Root() / "home";
    EXPECT_EQ(DocumentsDir(), (home / "Documents").string());

    const fs::path config = env.Root() / "config";
    std::ofstream(config / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(DocumentsDir(), (home / "Dokumente").string());

    std::ofstream(config / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"/srv/docs \\\"x\\\"/\"\n";
    EXPECT_EQ(DocumentsDir(), "/srv/docs \"x\"");

    std::ofstream(config / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"relative\"\n";
    EXPECT_EQ(DocumentsDir(), (home / "Documents").string());
}

}  // namespace
}  // namespace pallix::macro
