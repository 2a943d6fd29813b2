// A device node this user may not open is told apart from one that may be opened and
// from one that is not there (hidapi lists nodes whatever their permissions).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/DeviceNodeAccess.h"

namespace pallix {
namespace {

constexpr uid_t kNobody = 65534;

class DeviceNodeAccess : public ::testing::Test {
protected:
    DeviceNodeAccess() {
        char pattern[] = "/tmp/pallix-node-XXXXXX";
        folder_ = mkdtemp(pattern);
        chmod(folder_.c_str(), 0755);  // others may look inside, as in /dev
        Node("closed", 0600);
        Node("open", 0666);
    }
    ~DeviceNodeAccess() override { std::filesystem::remove_all(folder_); }

    void Node(const std::string& name, mode_t mode) {
        const std::string path = Path(name);
        std::ofstream(path).put('\0');
        chmod(path.c_str(), mode);
    }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    // One bit per node: denied for closed, open, missing.
    int DeniedBits() const {
        return (DeviceNodeAccessDenied(Path("closed")) ? 1 : 0) | (DeviceNodeAccessDenied(Path("open")) ? 2 : 0) |
               (DeviceNodeAccessDenied(Path("missing")) ? 4 : 0);
    }

    std::string folder_;
};

TEST_F(DeviceNodeAccess, OnlyAPresentNodeClosedToTheUserIsDenied) {
    if (geteuid() != 0) {
        EXPECT_EQ(DeniedBits(), 1);
        return;
    }
    EXPECT_EQ(DeniedBits(), 0);  // root may open anything
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(100);
        _exit(DeniedBits());
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace pallix
