#include "platform/SqliteSettingsStore.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "common/Messages.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

namespace fs = std::filesystem;

class SettingsStoreTest : public ::testing::Test {
protected:
    test::TempEnv env;
    SqliteSettingsStore store;  // the default path, inside env
    fs::path StoreFile() const { return env.ConfigDir() / "settings.sqlite3"; }

    // Puts a row there the way another tool might, bypassing our checks.
    void ForeignRow(const std::string& sql) {
        ASSERT_EQ(store.WriteDword("seed", 1), 1);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
};

TEST_F(SettingsStoreTest, ReadingFromAMissingStoreCreatesItHoldingZero) {
    ASSERT_FALSE(fs::exists(StoreFile()));
    EXPECT_EQ(store.Path(), StoreFile().string());
    EXPECT_EQ(store.ReadDword(kOsdHandle), 0u);
    EXPECT_TRUE(fs::exists(StoreFile()));
    const auto entry = store.Lookup(kOsdHandle);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->type, ValueType::Dword);
    EXPECT_EQ(entry->dword, 0u);
    EXPECT_EQ(fs::status(StoreFile()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    // Once the store exists, another missing value is just missing.
    EXPECT_EQ(store.ReadDword(kMonitorHandle), kDwordMissing);
}

TEST_F(SettingsStoreTest, OtherOperationsDoNotCreateAMissingStore) {
    std::string text = "untouched";
    EXPECT_EQ(store.ReadString("PF0T1 Macro Name", text), 0);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(store.DeleteValue(kOsdHandle), 0);
    EXPECT_FALSE(store.Lookup(kOsdHandle));
    EXPECT_TRUE(store.LastError().empty());
    ASSERT_TRUE(store.List());
    EXPECT_TRUE(store.List()->empty());
    EXPECT_FALSE(fs::exists(StoreFile()));
}

TEST_F(SettingsStoreTest, DwordsComeBackExactly) {
    for (std::uint32_t v : {0u, 1u, 10u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        ASSERT_EQ(store.WriteDword(kConfigureHandle, v), 1);
        EXPECT_EQ(store.ReadDword(kConfigureHandle), v);
    }
}

TEST_F(SettingsStoreTest, StringsComeBackExactlyUpToTheBufferSize) {
    const std::string longest(kMaxStringUnits, 'x');
    std::string pairs;  // each of these takes two UTF-16 units
    for (std::size_t i = 0; i < kMaxStringUnits / 2; ++i) pairs += "\xF0\x9F\x96\xB1";
    for (const std::string& text :
         {std::string(), std::string("Macro 1"), std::string("/usr/bin/x terminal  "),
          std::string("Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC"), std::string("a\0b", 3), longest, pairs}) {
        ASSERT_EQ(store.WriteString("PF4T9 Macro Name", text), 1);
        std::string back = "previous contents that are longer than some texts";
        ASSERT_EQ(store.ReadString("PF4T9 Macro Name", back), 1);
        EXPECT_EQ(back, text);
    }
}

TEST_F(SettingsStoreTest, TextThatDoesNotFitIsRefusedAndTheOldValueKept) {
    std::string pairsPlusOne;
    for (std::size_t i = 0; i < kMaxStringUnits / 2; ++i) pairsPlusOne += "\xF0\x9F\x96\xB1";
    pairsPlusOne += "a";
    ASSERT_EQ(store.WriteString("PF0T1 AP", "/usr/bin/true"), 1);
    for (const std::string& bad : {std::string(kMaxStringUnits + 1, 'x'), pairsPlusOne, std::string("\xC3"),
                                   std::string("\xC0\xAF"), std::string("\xED\xA0\x80"), std::string("\xFF")}) {
        EXPECT_EQ(store.WriteString("PF0T1 AP", bad), 0);
        EXPECT_FALSE(store.LastError().empty());
        std::string back;
        ASSERT_EQ(store.ReadString("PF0T1 AP", back), 1);
        EXPECT_EQ(back, "/usr/bin/true");
    }
}

TEST_F(SettingsStoreTest, AValueOfTheOtherTypeIsUnreadable) {
    ASSERT_EQ(store.WriteString(kOsdHandle, "12"), 1);
    EXPECT_EQ(store.ReadDword(kOsdHandle), kDwordMissing);
    ASSERT_EQ(store.WriteDword("PF0T1 AP Name", 7), 1);
    std::string text = "kept";
    EXPECT_EQ(store.ReadString("PF0T1 AP Name", text), 0);
    EXPECT_EQ(text, "kept");
    // Writing the other type replaces the value and its type.
    ASSERT_EQ(store.WriteDword(kOsdHandle, 12), 1);
    EXPECT_EQ(store.ReadDword(kOsdHandle), 12u);
}

TEST_F(SettingsStoreTest, ValuesOtherToolsLeftOutOfRangeAreUnreadable) {
    ForeignRow("INSERT INTO settings VALUES('big', 4, 4294967296), ('neg', 4, -1), ('real', 4, 1.5),"
               "('long', 1, printf('%.*c', 2049, 'x')), ('odd', 9, 'x')");
    for (const char* name : {"big", "neg", "real", "odd"}) EXPECT_EQ(store.ReadDword(name), kDwordMissing) << name;
    std::string text;
    EXPECT_EQ(store.ReadString("long", text), 0);
    EXPECT_EQ(store.ReadString("odd", text), 0);
    EXPECT_EQ(store.ReadDword("seed"), 1u);
}

TEST_F(SettingsStoreTest, DeleteSaysWhetherSomethingWasDeleted) {
    ASSERT_EQ(store.WriteDword(kProcessHandle, 5), 1);
    EXPECT_EQ(store.DeleteValue(kProcessHandle), 1);
    EXPECT_EQ(store.DeleteValue(kProcessHandle), 0);
    EXPECT_EQ(store.ReadDword(kProcessHandle), kDwordMissing);
}

TEST_F(SettingsStoreTest, BadNamesAreRefused) {
    for (const std::string& name : {std::string(), std::string(256, 'n'), std::string("a\nb"), std::string("\xFF")}) {
        EXPECT_EQ(store.WriteDword(name, 1), 0);
        EXPECT_EQ(store.ReadDword(name), kDwordMissing);
        EXPECT_EQ(store.WriteString(name, "x"), 0);
    }
    EXPECT_EQ(store.WriteDword(std::string(255, 'n'), 1), 1);
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeMadeFailsQuietly) {
    std::ofstream(env.Root() / "plainfile") << "x";
    SqliteSettingsStore nowhere((env.Root() / "plainfile" / "settings.sqlite3").string());
    EXPECT_EQ(nowhere.WriteDword("x", 1), 0);
    EXPECT_EQ(nowhere.ReadDword("x"), kDwordMissing);
    EXPECT_EQ(nowhere.WriteString("x", "y"), 0);
    EXPECT_FALSE(nowhere.LastError().empty());
}

// What a damaged store file can look like, and whether a stale journal lies beside it.
struct Damage {
    const char* label;
    std::string contents;
    bool withJournal;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.label; }

class DamagedStoreTest : public SettingsStoreTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedStoreTest, IsMovedAsideWithOneMessageAndAFreshStoreUsed) {
    ASSERT_EQ(store.WriteDword("Language", 9), 1);
    const std::string original = test::ReadWholeFile(StoreFile().string());
    std::string contents = GetParam().contents;
    if (contents == "truncated") contents = original.substr(0, 200);
    std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc) << contents;
    if (GetParam().withJournal)
        for (const char* suffix : {"-journal", "-wal"})
            std::ofstream(StoreFile().string() + suffix, std::ios::binary) << std::string(4000, '\x37');

    testing::internal::CaptureStderr();
    EXPECT_EQ(store.ReadDword("Language"), 0u);  // a fresh, missing store: created with 0
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("damaged"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    int moved = 0;
    for (const auto& f : fs::directory_iterator(env.ConfigDir())) {
        const std::string name = f.path().filename().string();
        if (name.starts_with("settings.sqlite3.corrupt-") && !name.ends_with("-journal") && !name.ends_with("-wal") &&
            !name.ends_with("-shm")) {
            ++moved;
            EXPECT_EQ(test::ReadWholeFile(f.path().string()), contents);
            EXPECT_NE(err.find(name), std::string::npos);
        }
    }
    EXPECT_EQ(moved, 1);
    for (const char* suffix : {"-journal", "-wal"}) {  // never replayed into the fresh store
        const fs::path stale = StoreFile().string() + suffix;
        EXPECT_TRUE(!fs::exists(stale) || fs::file_size(stale) == 0) << suffix;
    }
    EXPECT_EQ(store.WriteDword("Language", 3), 1);
    EXPECT_EQ(store.ReadDword("Language"), 3u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedStoreTest,
                         ::testing::Values(Damage{"garbage", std::string(8192, 'g'), false},
                                           Damage{"garbage_with_stale_logs", std::string(8192, 'g'), true},
                                           Damage{"empty", std::string(), false},
                                           Damage{"truncated", "truncated", false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SettingsStoreTest, AForeignDatabaseIsMovedAsideToo) {
    ASSERT_TRUE(fs::create_directories(env.ConfigDir()) || fs::exists(env.ConfigDir()));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    testing::internal::CaptureStderr();
    EXPECT_EQ(store.WriteString("Path", "/opt/pallix"), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("moved it to"), std::string::npos);
    std::string path;
    EXPECT_EQ(store.ReadString("Path", path), 1);
    EXPECT_EQ(path, "/opt/pallix");
}

// The store keeps its database open between operations; these check that nothing
// another process does is missed because of that.
class KeptStoreTest : public SettingsStoreTest {
protected:
    test::ProcessResult Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {PALLIXCTL, "settings"});
        return test::RunProcess(args, env.Root().string());
    }
};

TEST_F(KeptStoreTest, AnotherProcessWritingOrDeletingIsSeenAtOnce) {
    ASSERT_EQ(store.WriteDword(kOsdHandle, 7), 1);
    for (int round = 0; round < 3; ++round) {
        const std::string value = std::to_string(100 + round);
        ASSERT_EQ(Ctl({"set", kOsdHandle, value}).exitCode, 0);
        EXPECT_EQ(store.ReadDword(kOsdHandle), static_cast<std::uint32_t>(100 + round));
    }
    ASSERT_EQ(Ctl({"delete", kOsdHandle}).exitCode, 0);
    EXPECT_EQ(store.ReadDword(kOsdHandle), kDwordMissing);
    ASSERT_EQ(Ctl({"set", "PF0T1 AP", "/usr/bin/true"}).exitCode, 0);
    std::string text;
    EXPECT_EQ(store.ReadString("PF0T1 AP", text), 1);
    EXPECT_EQ(text, "/usr/bin/true");
}

TEST_F(KeptStoreTest, AStoreReplacedByAnotherFileIsReadFromTheNewFile) {
    ASSERT_EQ(store.WriteDword(kOsdHandle, 1), 1);
    const fs::path aside = env.Root() / "old.sqlite3";
    fs::rename(StoreFile(), aside);
    ASSERT_EQ(Ctl({"set", kOsdHandle, "2"}).exitCode, 0);  // makes a fresh store
    EXPECT_EQ(store.ReadDword(kOsdHandle), 2u);
    ASSERT_EQ(store.WriteDword(kMonitorHandle, 3), 1);
    EXPECT_EQ(Ctl({"get", kMonitorHandle}).out, "3\n");
    // The old file got nothing of this.
    EXPECT_EQ(SqliteSettingsStore(aside.string()).Lookup(kMonitorHandle), std::nullopt);
}

// Its log still holds what this process wrote, and the process still has the log
// and its index open: a fresh store must not take them over.
TEST_F(KeptStoreTest, ADeletedStoreComesBackEmptyWithoutItsOldLog) {
    ASSERT_EQ(store.WriteDword("Language", 9), 1);
    ASSERT_EQ(store.WriteString("PF0T1 AP", "/usr/bin/old"), 1);
    fs::remove(StoreFile());
    ASSERT_EQ(Ctl({"set", kMonitorHandle, "5"}).exitCode, 0);
    EXPECT_EQ(Ctl({"get", "Language"}).exitCode, 1);
    EXPECT_EQ(store.ReadDword("Language"), kDwordMissing);
    EXPECT_EQ(store.ReadDword(kMonitorHandle), 5u);
    const auto all = store.List();
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 1u);
    // Deleted with everything beside it, it is made again as a missing store is.
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(StoreFile().string() + suffix);
    EXPECT_EQ(store.ReadDword(kOsdHandle), 0u);
    EXPECT_EQ(Ctl({"get", kOsdHandle}).out, "0\n");
}

}  // namespace
}  // namespace pallix
