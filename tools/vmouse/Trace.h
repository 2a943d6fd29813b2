#pragma once
// One line per report in or out: "HH:MM:SS.mmm set 00 de 67 08 01 00 00 00 00",
// with " fail" appended when the mouse refused the report.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace pallix::vmouse {

class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    bool Open(const std::string& path, std::string& error);
    void Line(const char* direction, std::span<const std::uint8_t> bytes, bool failed = false);

    static std::string Hex(std::span<const std::uint8_t> bytes);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace pallix::vmouse
