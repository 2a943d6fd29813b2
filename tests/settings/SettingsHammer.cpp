// One of several processes using the same settings store as fast as they can.
// Exits 0 only if no operation failed and no value read was ever torn or stale.
//   settings_hammer STORE-PATH ID WRITERS ITERATIONS
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/SqliteSettingsStore.h"

namespace {

// A DWORD that checks itself: the high half is the complement of the low half.
std::uint32_t Sealed(std::uint32_t n) { return (n & 0xFFFFu) | ((~n & 0xFFFFu) << 16); }
bool IsSealed(std::uint32_t v) { return ((v >> 16) ^ (v & 0xFFFFu)) == 0xFFFFu; }

// A string that checks itself: "<n>:" followed by n % 300 copies of 'a' + n % 26.
std::string SealedText(int n) { return std::to_string(n) + ":" + std::string(n % 300, static_cast<char>('a' + n % 26)); }
int TextNumber(const std::string& s) {
    const auto colon = s.find(':');
    if (colon == std::string::npos) return -1;
    const int n = std::atoi(s.substr(0, colon).c_str());
    return s == SealedText(n) ? n : -1;
}

int Fail(int id, int i, const std::string& what) {
    std::fprintf(stderr, "hammer %d, round %d: %s\n", id, i, what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    pallix::SqliteSettingsStore store(argv[1]);
    const int id = std::atoi(argv[2]), writers = std::atoi(argv[3]), rounds = std::atoi(argv[4]);
    std::vector<int> lastSeen(writers, -1);
    for (int i = 0; i < rounds; ++i) {
        const std::uint32_t shared = store.ReadDword("Shared");
        if (shared != 0 && shared != pallix::kDwordMissing && !IsSealed(shared))
            return Fail(id, i, "torn shared value " + std::to_string(shared));
        if (!store.WriteDword("Shared", Sealed(static_cast<std::uint32_t>(i * writers + id))))
            return Fail(id, i, "shared write: " + store.LastError());
        if (!store.WriteDword("Counter " + std::to_string(id), Sealed(static_cast<std::uint32_t>(i))))
            return Fail(id, i, "counter write: " + store.LastError());
        if (!store.WriteString("Text " + std::to_string(id), SealedText(i)))
            return Fail(id, i, "text write: " + store.LastError());
        for (int w = 0; w < writers; ++w) {
            std::string text;
            const int hasText = store.ReadString("Text " + std::to_string(w), text);
            if (!hasText && !store.LastError().empty()) return Fail(id, i, "text read: " + store.LastError());
            const std::uint32_t v = store.ReadDword("Counter " + std::to_string(w));
            if (v == pallix::kDwordMissing && !store.LastError().empty()) return Fail(id, i, store.LastError());
            if (v == pallix::kDwordMissing) continue;  // not written yet
            if (!IsSealed(v)) return Fail(id, i, "torn counter " + std::to_string(v));
            const int n = static_cast<int>(v & 0xFFFFu);
            if (n < lastSeen[w]) return Fail(id, i, "counter went back");
            lastSeen[w] = n;
            if (hasText && TextNumber(text) < 0) return Fail(id, i, "torn text '" + text + "'");
            if (!hasText && w == id) return Fail(id, i, "own text unreadable: " + store.LastError());
        }
    }
    return 0;
}
