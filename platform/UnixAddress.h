#pragma once
// Filesystem addresses of AF_UNIX sockets.
#include <string>

#include <sys/socket.h>
#include <sys/un.h>

namespace pallix {

struct UnixAddress {
    sockaddr_un addr{};
    socklen_t length = 0;
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr); }
};

// False when the path is empty or too long for a socket address.
bool MakeUnixAddress(const std::string& path, UnixAddress& out);

}  // namespace pallix
