#pragma once
// Small helpers shared by the mailbox tests.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "common/Messages.h"
#include "platform/Mailbox.h"

namespace pallix::test {

inline std::vector<Message> DrainAll(Mailbox& mailbox) {
    std::vector<Message> out;
    while (auto m = mailbox.Receive()) out.push_back(*m);
    return out;
}

// Runs body in a forked child and answers its exit code (-1 when it did not exit).
inline int RunInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A handle whose socket file is still there but whose owner died without closing.
inline WindowHandle HandleOfCrashedWindow() {
    int fds[2];
    if (pipe(fds) != 0) return 0;
    const pid_t pid = fork();
    if (pid == 0) {
        auto* mailbox = new Mailbox;  // never closed: the process just ends
        const WindowHandle h = mailbox->Handle();
        (void)!write(fds[1], &h, sizeof h);
        _exit(0);
    }
    close(fds[1]);
    WindowHandle handle = 0;
    if (read(fds[0], &handle, sizeof handle) != sizeof handle) handle = 0;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return handle;
}

}  // namespace pallix::test
