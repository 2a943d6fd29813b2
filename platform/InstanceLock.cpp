#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"

namespace pallix {

namespace {

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

InstanceLock::InstanceLock(std::string_view name) {
    if (!IsPlainFileName(name)) return;
    const std::string dir = RuntimeDir();
    if (dir.empty()) return;
    const std::string path = dir + "/" + std::string(name);
    // Never unlinked: removing the file would let a newcomer lock a fresh inode
    // while the holder still holds the old one.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    int rc;
    do rc = flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        fd_ = fd;
        return;
    }
    heldElsewhere_ = errno == EWOULDBLOCK;
    close(fd);
}

int InstanceLockHolder(std::string_view name) {
    if (!IsPlainFileName(name)) return -1;
    const std::string dir = RuntimeDir();
    struct stat st {};
    if (dir.empty() || stat((dir + "/" + std::string(name)).c_str(), &st) != 0) return 0;  // never taken
    std::ifstream locks("/proc/locks");
    if (!locks) return -1;
    char wanted[64];
    std::snprintf(wanted, sizeof wanted, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    // "1: FLOCK  ADVISORY  WRITE 4242 00:1a:1234 0 EOF"; blocked waiters carry "->".
    for (std::string line; std::getline(locks, line);) {
        std::istringstream in(line);
        std::string number, kind, mode, access, pid, where;
        if (!(in >> number >> kind) || kind == "->" || !(in >> mode >> access >> pid >> where)) continue;
        if (kind == "FLOCK" && where == wanted) return std::atoi(pid.c_str()) > 0 ? std::atoi(pid.c_str()) : -1;
    }
    return 0;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace pallix
