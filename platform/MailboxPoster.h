#pragma once
// Posts to mailboxes of this user: one non-blocking datagram per message. Post may
// be called from any thread; IsLiveWindow from one thread at a time.
#include <cstdint>
#include <string>

#include "common/Posting.h"

namespace pallix {

class MailboxPoster final : public Poster {
public:
    // Uses the runtime folder of this process (XDG_RUNTIME_DIR) as it is now.
    MailboxPoster();
    ~MailboxPoster() override;
    MailboxPoster(const MailboxPoster&) = delete;
    MailboxPoster& operator=(const MailboxPoster&) = delete;

    // Posted, NotLive (no such mailbox: a stale socket file is removed), Busy (the
    // receiver's queue is full, the message is dropped), NoWindow for 0 and -1,
    // Failed otherwise. Never blocks.
    PostResult Post(WindowHandle target, const Message& message) override;
    // Probes by connecting a spare socket: the receiver sees nothing.
    bool IsLiveWindow(WindowHandle target) override;

    std::uint64_t BusyCount() const { return busy_; }

private:
    std::string runtimeDir_;
    int sendFd_ = -1;
    int probeFd_ = -1;
    std::uint64_t busy_ = 0;
};

}  // namespace pallix
