#pragma once
// The INSTRUCTION and DELAY texts of the editor's lines.
#include <array>
#include <cstdint>
#include <string>

namespace pallix::macro {

using InstructionBytes = std::array<std::uint8_t, 6>;

// Text of one instruction. `targetLine` is the 0-based line a jump lands on, or -1
// while unresolved (shown as "??"); ignored for other instructions.
std::string InstructionText(const InstructionBytes& instruction, int targetLine);

// DELAY column text of a delay of `units` (each `unitMs` long): "250ms", "1.0sec".
std::string DelayText(int units, int unitMs = 25);

// Target offset stored in a jump instruction (little-endian), -1 for non-jumps.
int TargetOffsetOf(const InstructionBytes& instruction);

}  // namespace pallix::macro
