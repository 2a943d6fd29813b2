#include "platform/InstanceLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
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

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace pallix
