#include "tools/vmouse/MemoryFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallix::vmouse {

namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

LoadResult LoadMemory(const std::string& path, Memory& memory, std::string& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return LoadResult::kMissing;
        error = Errno(path);
        return LoadResult::kBad;
    }
    struct stat st {};
    LoadResult result = LoadResult::kBad;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != static_cast<off_t>(memory.size())) {
        error = path + ": not a memory image of " + std::to_string(memory.size()) + " bytes";
    } else {
        std::size_t got = 0;
        while (got < memory.size()) {
            const ssize_t n = read(fd, memory.data() + got, memory.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got == memory.size()) result = LoadResult::kLoaded;
        else error = Errno(path);
    }
    close(fd);
    return result;
}

bool SaveMemory(const std::string& path, const Memory& memory, std::string& error) {
    const std::string temp = path + ".tmp-" + std::to_string(getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = Errno(temp);
        return false;
    }
    const bool written = WriteAll(fd, memory.data(), memory.size());
    if (close(fd) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        error = Errno(path);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace pallix::vmouse
