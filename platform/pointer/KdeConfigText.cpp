#include "platform/pointer/KdeConfigText.h"

#include <vector>

namespace pallix {

namespace {

std::string_view Trim(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

struct Line {
    std::string_view text;   // without its newline
    bool hasNewline = false;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        if (nl == std::string_view::npos) {
            lines.push_back({text, false});
            break;
        }
        lines.push_back({text.substr(0, nl), true});
        text.remove_prefix(nl + 1);
    }
    return lines;
}

// A header "[A][B][$i]": its name segments joined by '/', and whether it is locked.
// Only a single segment can equal a plain group name, so the joint is immaterial.
struct Header {
    std::string name;
    bool locked = false;
    bool onlyOptions = true;  // "[$i]" alone: about the whole file
};

std::optional<Header> ParseHeader(std::string_view line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    Header h;
    int segments = 0;
    while (!line.empty() && line.front() == '[') {
        const auto close = line.find(']');
        if (close == std::string_view::npos) break;
        const std::string_view segment = line.substr(1, close - 1);
        if (segment.starts_with('$')) {
            if (segment.find('i') != std::string_view::npos) h.locked = true;
        } else {
            if (segments++) h.name += '/';
            h.name.append(segment);
            h.onlyOptions = false;
        }
        line.remove_prefix(close + 1);
    }
    return h;
}

// "Key[de][$i] = value": the key, whether it is localised, whether it is locked.
struct EntryLine {
    std::string_view key;
    bool localised = false;
    bool locked = false;
    std::string_view value;
};

std::optional<EntryLine> ParseEntry(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    EntryLine e;
    std::string_view left = Trim(line.substr(0, eq));
    e.value = Trim(line.substr(eq + 1));
    const auto bracket = left.find('[');
    e.key = Trim(left.substr(0, bracket));
    if (e.key.empty()) return std::nullopt;
    if (bracket != std::string_view::npos) {
        std::string_view rest = left.substr(bracket);
        while (!rest.empty() && rest.front() == '[') {
            const auto close = rest.find(']');
            if (close == std::string_view::npos) break;
            const std::string_view option = rest.substr(1, close - 1);
            if (option.starts_with('$')) {
                if (option.find('i') != std::string_view::npos) e.locked = true;
            } else {
                e.localised = true;
            }
            rest.remove_prefix(close + 1);
        }
    }
    return e;
}

// Walks the file once; for each line says which group it is in.
struct Scan {
    bool fileLocked = false;
    bool entryLocked = false;
    std::optional<std::string> value;
    std::vector<std::size_t> entries;         // lines holding the plain entry
    std::optional<std::size_t> lastInGroup;   // last header or entry line of the group's last section
};

Scan ScanFor(const std::vector<Line>& lines, std::string_view group, std::string_view key) {
    Scan scan;
    bool inGroup = false, groupLocked = false, seenGroup = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i].text);
        if (line.empty() || line.front() == '#') continue;
        if (auto h = ParseHeader(line)) {
            if (h->onlyOptions) {
                if (!seenGroup && h->locked) scan.fileLocked = true;
                continue;
            }
            seenGroup = true;
            inGroup = h->name == group;
            groupLocked = h->locked;
            if (inGroup) {
                scan.lastInGroup = i;
                if (groupLocked) scan.entryLocked = true;
            }
            continue;
        }
        if (!inGroup) continue;
        const auto e = ParseEntry(line);
        if (!e) continue;
        scan.lastInGroup = i;
        if (e->key != key) continue;
        if (e->locked) scan.entryLocked = true;
        if (e->localised) continue;
        scan.value = std::string(e->value);
        scan.entries.push_back(i);
    }
    return scan;
}

}  // namespace

KdeEntry FindKdeEntry(std::string_view text, std::string_view group, std::string_view key) {
    const Scan scan = ScanFor(SplitLines(text), group, key);
    return {scan.value, scan.fileLocked || scan.entryLocked};
}

std::optional<std::string> SetKdeEntry(std::string_view text, std::string_view group, std::string_view key,
                                       std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const Scan scan = ScanFor(lines, group, key);
    if (scan.fileLocked || scan.entryLocked) return std::nullopt;
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::string out;
    out.reserve(text.size() + entry.size() + group.size() + 8);
    std::size_t next = 0;  // index into scan.entries
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool replace = next < scan.entries.size() && scan.entries[next] == i;
        if (replace) ++next;
        out += replace ? std::string_view(entry) : lines[i].text;
        if (lines[i].hasNewline) out += '\n';
        if (scan.entries.empty() && scan.lastInGroup == i) {
            if (!lines[i].hasNewline) out += '\n';
            out += entry;
            if (lines[i].hasNewline) out += '\n';
        }
    }
    if (scan.entries.empty() && !scan.lastInGroup) {
        if (!out.empty() && out.back() != '\n') out += '\n';
        if (!out.empty()) out += '\n';
        out += "[" + std::string(group) + "]\n" + entry + "\n";
    }
    return out;
}

}  // namespace pallix
