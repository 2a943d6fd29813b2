#pragma once
// Scripts holding every instruction kind, shared by the round-trip tests, the
// fuzzer's seeds and the benchmark.
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pallix::macro::test {

class ScriptBuilder {
public:
    // Appends one instruction (or delay chunk); returns its offset.
    std::size_t Add(std::initializer_list<std::uint8_t> bytes) {
        const std::size_t at = bytes_.size();
        bytes_.insert(bytes_.end(), bytes);
        return at;
    }
    void PatchWord(std::size_t at, std::size_t value) {
        bytes_[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Every kind once, delays of 0, 255, 256 and 200 units, forward and backward
// jumps; padded with key presses to `size` bytes (at least 100).
inline std::vector<std::uint8_t> EveryKindScript(std::size_t size = 256) {
    ScriptBuilder s;
    const std::size_t start = s.Add({0x04});                 // no delay
    s.Add({0x84});
    s.Add({0x01, 0xFF});                                     // 255 units
    s.Add({0x78});
    s.Add({0x01, 0xFF});
    s.Add({0x01, 0x01});                                     // 256 units
    s.Add({0xF8});
    s.Add({0x01, 0xC8});                                     // 200 units = 5000 ms
    s.Add({0x7E});
    s.Add({0xFE});
    s.Add({0x00});
    s.Add({0x7F});
    s.Add({0x81});
    const std::size_t loop = s.Add({0x02, 0x04, 0x00});
    s.Add({0x03, 0xE9, 0x00});
    s.Add({0x80, 0xFF, 0xFF, 0x01, 0x00});
    const std::size_t loopEnd = s.Add({0x82, 0x00, 0x00});
    s.PatchWord(loopEnd + 1, loop);
    s.Add({0x83, 0x00, 0x10, 0x00, 0xF0, 0xFF});
    const std::size_t ifLock = s.Add({0x83, 0x01, 0x81, 0x01, 0x00, 0x00});  // forward
    const std::size_t back = s.Add({0x83, 0x02, 0x00, 0x00});                // backward
    s.PatchWord(back + 2, start);
    const std::size_t ifVar = s.Add({0x83, 0x03, 0x02, 0x07, 0x00, 0x00});   // forward
    s.Add({0x83, 0x04, 0x18, 0x05});
    const std::size_t call = s.Add({0x83, 0x05, 0x00, 0x00});                // forward
    s.Add({0xFF});
    const std::size_t sub = s.Add({0x83, 0x87, 0x00, 0x00, 0x00, 0x00});
    s.PatchWord(call + 2, sub);
    s.Add({0x83, 0x80});
    s.Add({0x83, 0x8C, 0x00});
    const std::size_t ret = s.Add({0x83, 0x06});
    s.PatchWord(ifLock + 4, ret);
    s.PatchWord(ifVar + 4, sub);
    while (s.Size() < size) s.Add({static_cast<std::uint8_t>(0x04 + s.Size() % 0x60)});
    return s.Bytes();
}

}  // namespace pallix::macro::test
