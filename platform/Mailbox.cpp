#include "platform/Mailbox.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"
#include "platform/UnixAddress.h"

namespace pallix {

namespace {

constexpr int kHandleAttempts = 64;

void PutWord(std::byte* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }

std::uint32_t GetWord(const std::byte* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::optional<WindowHandle> RandomHandle() {
    WindowHandle handle = 0;
    while (!IsPublishedHandle(handle)) {
        if (getrandom(&handle, sizeof handle, 0) != static_cast<ssize_t>(sizeof handle)) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
    }
    return handle;
}

// Closes descriptors a sender may have smuggled in; answers the sender's uid.
std::optional<uid_t> InspectControl(msghdr& header) {
    std::optional<uid_t> uid;
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level != SOL_SOCKET) continue;
        if (c->cmsg_type == SCM_CREDENTIALS && c->cmsg_len >= CMSG_LEN(sizeof(ucred))) {
            ucred cred;
            std::memcpy(&cred, CMSG_DATA(c), sizeof cred);
            uid = cred.uid;
        } else if (c->cmsg_type == SCM_RIGHTS) {
            const std::size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
            for (std::size_t i = 0; i < count; ++i) {
                int fd;
                std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
                close(fd);
            }
        }
    }
    return uid;
}

}  // namespace

bool MakeUnixAddress(const std::string& path, UnixAddress& out) {
    out = UnixAddress{};
    if (path.empty() || path.size() >= sizeof(out.addr.sun_path)) return false;
    out.addr.sun_family = AF_UNIX;
    std::memcpy(out.addr.sun_path, path.data(), path.size());
    out.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return true;
}

std::array<std::byte, kMailboxWireSize> EncodeMailboxMessage(const Message& message) {
    std::array<std::byte, kMailboxWireSize> wire{};
    PutWord(&wire[0], kMailboxMagic);
    PutWord(&wire[4], kMailboxVersion);
    PutWord(&wire[8], 0);
    PutWord(&wire[12], message.message);
    PutWord(&wire[16], message.wParam);
    PutWord(&wire[20], message.lParam);
    return wire;
}

std::optional<Message> DecodeMailboxMessage(const std::byte* data, std::size_t size) {
    if (!data || size != kMailboxWireSize) return std::nullopt;
    if (GetWord(data) != kMailboxMagic || GetWord(data + 4) != kMailboxVersion ||
        GetWord(data + 8) != 0)
        return std::nullopt;
    return Message{GetWord(data + 12), GetWord(data + 16), GetWord(data + 20)};
}

std::string MailboxPath(const std::string& runtimeDir, WindowHandle handle) {
    if (runtimeDir.empty()) return {};
    char name[16];
    std::snprintf(name, sizeof name, "wnd-%08x", static_cast<unsigned>(handle));
    return runtimeDir + "/" + name;
}

Mailbox::Mailbox() {
    const std::string dir = RuntimeDir();
    if (dir.empty()) return;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0) {
        close(fd);
        return;
    }
    // A handle already taken (by a live window or a file left by a crash) is simply
    // passed over: the number space is large.
    for (int attempt = 0; attempt < kHandleAttempts; ++attempt) {
        const std::optional<WindowHandle> handle = RandomHandle();
        if (!handle) break;
        const std::string path = MailboxPath(dir, *handle);
        UnixAddress address;
        if (!MakeUnixAddress(path, address)) break;
        if (bind(fd, address.get(), address.length) == 0) {
            fd_ = fd;
            handle_ = *handle;
            owner_ = getpid();
            path_ = path;
            return;
        }
        if (errno != EADDRINUSE) break;
    }
    close(fd);
}

Mailbox::~Mailbox() {
    if (fd_ < 0) return;
    if (getpid() == owner_) unlink(path_.c_str());
    close(fd_);
}

std::optional<Message> Mailbox::Receive() {
    if (fd_ < 0) return std::nullopt;
    for (;;) {
        // One byte more than a message, so that an oversized datagram shows.
        std::byte data[kMailboxWireSize + 1];
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred)) + CMSG_SPACE(16 * sizeof(int))];
        iovec io{data, sizeof data};
        msghdr header{};
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t n = recvmsg(fd_, &header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;  // EAGAIN: nothing waiting
        }
        const std::optional<uid_t> sender = InspectControl(header);
        const bool whole = !(header.msg_flags & (MSG_TRUNC | MSG_CTRUNC));
        std::optional<Message> message;
        if (whole && sender && *sender == getuid())
            message = DecodeMailboxMessage(data, static_cast<std::size_t>(n));
        if (message) return message;
        ++dropped_;
    }
}

}  // namespace pallix
