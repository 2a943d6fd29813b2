#include "tools/vmouse/Trace.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/time.h>

namespace pallix::vmouse {

Trace::~Trace() {
    if (file_) std::fclose(file_);
}

bool Trace::Open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "ae");
    if (!file_) error = path + ": " + std::strerror(errno);
    return file_ != nullptr;
}

std::string Trace::Hex(std::span<const std::uint8_t> bytes) {
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

void Trace::Line(const char* direction, std::span<const std::uint8_t> bytes, bool failed) {
    if (!file_) return;
    timeval tv {};
    gettimeofday(&tv, nullptr);
    tm local {};
    localtime_r(&tv.tv_sec, &local);
    std::fprintf(file_, "%02d:%02d:%02d.%03ld %s %s%s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<long>(tv.tv_usec / 1000), direction, Hex(bytes).c_str(), failed ? " fail" : "");
    std::fflush(file_);
}

}  // namespace pallix::vmouse
