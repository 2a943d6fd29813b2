#include "platform/MailboxPoster.h"

#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

#include "platform/Mailbox.h"
#include "platform/RuntimeDir.h"
#include "platform/UnixAddress.h"

namespace pallix {

namespace {

bool IsGone(int error) { return error == ENOENT || error == ECONNREFUSED; }

int DatagramSocket() { return socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

}  // namespace

MailboxPoster::MailboxPoster()
    : runtimeDir_(RuntimeDir()), sendFd_(DatagramSocket()), probeFd_(DatagramSocket()) {}

MailboxPoster::~MailboxPoster() {
    if (sendFd_ >= 0) close(sendFd_);
    if (probeFd_ >= 0) close(probeFd_);
}

PostResult MailboxPoster::Post(WindowHandle target, const Message& message) {
    if (!IsPublishedHandle(target)) return PostResult::NoWindow;
    const std::string path = MailboxPath(runtimeDir_, target);
    UnixAddress address;
    if (sendFd_ < 0 || !MakeUnixAddress(path, address)) return PostResult::Failed;
    const auto wire = EncodeMailboxMessage(message);
    ssize_t sent;
    do {
        sent = sendto(sendFd_, wire.data(), wire.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                      address.get(), address.length);
    } while (sent < 0 && errno == EINTR);
    if (sent == static_cast<ssize_t>(wire.size())) return PostResult::Posted;
    if (sent >= 0) return PostResult::Failed;
    if (IsGone(errno)) {
        // Left behind by a window that died without closing; the folder is ours alone.
        if (errno == ECONNREFUSED) unlink(path.c_str());
        return PostResult::NotLive;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        ++busy_;
        return PostResult::Busy;
    }
    return PostResult::Failed;
}

bool MailboxPoster::IsLiveWindow(WindowHandle target) {
    if (!IsPublishedHandle(target) || probeFd_ < 0) return false;
    UnixAddress address;
    if (!MakeUnixAddress(MailboxPath(runtimeDir_, target), address)) return false;
    // Connecting a datagram socket only checks that a socket is bound there.
    const bool live = connect(probeFd_, address.get(), address.length) == 0;
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    connect(probeFd_, &unspecified, sizeof unspecified);
    return live;
}

}  // namespace pallix
