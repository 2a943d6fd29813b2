#include "macro/MacroFolder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>

#include "macro/AtomicFile.h"
#include "macro/MacroFile.h"

namespace pallix::macro {
namespace fs = std::filesystem;

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - tail.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

bool IsSafeName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool IsMacroFileName(std::string_view file) { return file.size() > 4 && EndsWithNoCase(file, "mac"); }

}  // namespace

fs::path BuildMacroPath(const fs::path& folder, std::string_view name) {
    if (folder.empty() || !IsSafeName(name)) return {};
    return folder / (std::string(name) + std::string(kMacroExtension));
}

std::vector<MacroEntry> ListMacroEntries(const fs::path& folder) {
    std::vector<MacroEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec)) continue;
        std::string file = it->path().filename().string();
        if (IsMacroFileName(file)) entries.push_back({file.substr(0, file.size() - 4), std::move(file)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const MacroEntry& a, const MacroEntry& b) { return std::tie(a.name, a.file) < std::tie(b.name, b.file); });
    return entries;
}

std::vector<std::string> ListMacros(const fs::path& folder) {
    std::vector<std::string> names;
    for (MacroEntry& entry : ListMacroEntries(folder)) names.push_back(std::move(entry.name));
    return names;
}

fs::path EntryPath(const fs::path& folder, const MacroEntry& entry) {
    if (folder.empty() || !IsSafeName(entry.file)) return {};
    return folder / entry.file;
}

fs::path FindMacroFile(const fs::path& folder, std::string_view name) {
    const fs::path exact = BuildMacroPath(folder, name);
    if (exact.empty()) return {};
    std::error_code ec;
    if (fs::is_regular_file(exact, ec)) return exact;
    for (const MacroEntry& entry : ListMacroEntries(folder))
        if (entry.name == name) return EntryPath(folder, entry);
    return {};
}

FileResult CreateMacroFile(const fs::path& folder, std::string_view name) {
    const fs::path path = BuildMacroPath(folder, name);
    if (path.empty()) return FileResult::Failure(MacroMessage::FilePathNotFound, std::string(name));
    if (!FindMacroFile(folder, name).empty()) return FileResult::Failure(MacroMessage::MacroExists);
    const auto image = EmptyMacroImage();
    return WriteFileAtomically(path, image, Existing::Keep);
}

std::string ImportedMacroName(const fs::path& source) {
    std::string name = source.stem().string();
    if (EndsWithNoCase(name, ".mac")) name.resize(name.size() - 4);
    return name;
}

FileResult ImportMacroFile(const fs::path& folder, const fs::path& source) {
    const std::string name = ImportedMacroName(source);
    const fs::path path = BuildMacroPath(folder, name);
    if (path.empty()) return FileResult::Failure(MacroMessage::FilePathNotFound, name);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return FileResult::Failure(MacroMessage::FilePathNotFound, source.string());
    if (!FindMacroFile(folder, name).empty()) return FileResult::Failure(MacroMessage::MacroExists, name);
    FileResult result = PublishFile(path, Existing::Keep, [&](const fs::path& temp) {
        std::error_code copyError;
        fs::copy_file(source, temp, fs::copy_options::overwrite_existing, copyError);
        return !copyError;
    });
    if (result.ok || result.message == MacroMessage::MacroExists) result.suffix = name;
    return result;
}

FileResult DeleteMacroFile(const fs::path& folder, const MacroEntry& entry) {
    const fs::path path = IsMacroFileName(entry.file) ? EntryPath(folder, entry) : fs::path();
    std::error_code ec;
    if (path.empty() || !fs::remove(path, ec))
        return FileResult::Failure(MacroMessage::FilePathNotFound, path.empty() ? entry.name : path.string());
    return FileResult::Success();
}

}  // namespace pallix::macro
