#pragma once
// Helpers for tests of the text tables: language files written into a temporary
// installation folder, and the tables put back afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/texts/LanguageFile.h"
#include "app/texts/TextTables.h"
#include "tests/support/TempEnv.h"

namespace pallix::test {

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A complete table set that differs from the defaults in every entry.
inline texts::TextTables MarkedTexts(std::string_view mark) {
    texts::TextTables t = texts::DefaultTexts();
    const std::string m(mark);
    for (auto& f : t.fonts) {
        f.face = m + f.face;
        f.height += 1;
        f.weight = 600;
    }
    for (auto* table : {&t.ui}) for (auto& s : *table) s = m + s;
    for (auto& s : t.messages) s = m + s;
    t.messageBoxCaption = m + t.messageBoxCaption;
    for (auto& s : t.unitWords) s = m + s;
    for (auto& s : t.functionNames) s = m + s;
    for (auto& s : t.commandNames) s = m + s;
    for (auto& s : t.ledCaptions) s = m + s;
    return t;
}

// Puts the default tables back after each test.
class TextTablesTest : public ::testing::Test {
protected:
    void TearDown() override { texts::SetTexts(texts::DefaultTexts()); }
    TempEnv env_;
};

}  // namespace pallix::test
