#include "platform/DeviceNodeAccess.h"

#include <cerrno>
#include <unistd.h>

namespace pallix {

bool DeviceNodeAccessDenied(const std::string& path) {
    // access() asks the kernel, so ACLs (udev's uaccess tag) count; nothing is opened,
    // which for a hidraw node could wake the device.
    if (access(path.c_str(), R_OK | W_OK) == 0) return false;
    return errno == EACCES || errno == EPERM;
}

}  // namespace pallix
