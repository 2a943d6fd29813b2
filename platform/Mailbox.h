#pragma once
// Mailboxes: how windows in different processes post messages to each other.
// Each window that others reach owns a datagram socket in the private runtime
// folder; the 32-bit number in its name is the handle the window publishes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <sys/types.h>

#include "common/Messages.h"
#include "common/Posting.h"

namespace pallix {

// One message on the wire: magic, version, reserved (0), message, wParam, lParam,
// 32-bit each in host order (both ends are on this machine).
inline constexpr std::size_t kMailboxWireSize = 24;
inline constexpr std::uint32_t kMailboxMagic = 0x4D584C50;  // "PLXM"
inline constexpr std::uint32_t kMailboxVersion = 1;

std::array<std::byte, kMailboxWireSize> EncodeMailboxMessage(const Message& message);
// Anything but exactly one well-formed message of the current version is refused.
std::optional<Message> DecodeMailboxMessage(const std::byte* data, std::size_t size);

// "<runtime folder>/wnd-xxxxxxxx"; empty when there is no usable runtime folder.
std::string MailboxPath(const std::string& runtimeDir, WindowHandle handle);

// The receiving end. Owned by one window; closing it removes the socket file, after
// which posts to its handle report NotLive.
class Mailbox {
public:
    // Binds a fresh socket under a new unique handle; check IsOpen().
    Mailbox();
    ~Mailbox();
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    WindowHandle Handle() const { return handle_; }
    // Readable when messages wait; for the caller's event loop. Non-blocking.
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

    // The next well-formed message from our own user, without waiting; datagrams
    // that are malformed or come from another user are dropped on the way.
    std::optional<Message> Receive();
    std::uint64_t DroppedCount() const { return dropped_; }

private:
    int fd_ = -1;
    WindowHandle handle_ = 0;
    pid_t owner_ = 0;  // a forked child that ends must not remove our socket file
    std::string path_;
    std::uint64_t dropped_ = 0;
};

}  // namespace pallix
