#include "platform/RuntimeDir.h"
#include "tests/support/TempEnv.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using pallix::test::TempEnv;

TEST(RuntimeDir, IsCreatedPrivateUnderXdgRuntimeDir) {
    TempEnv env;
    const std::string dir = pallix::RuntimeDir();
    ASSERT_EQ(dir, env.RuntimeDir().string());
    struct stat st {};
    ASSERT_EQ(stat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(RuntimeDir, FallsBackToAPrivateFolderWithoutXdgRuntimeDir) {
    TempEnv env;
    unsetenv("XDG_RUNTIME_DIR");
    const std::string dir = pallix::RuntimeDir();
    EXPECT_EQ(dir, "/tmp/pallix-ostrel-" + std::to_string(getuid()) + "/pallix-ostrel");
}

TEST(RuntimeDir, RefusesAFileInTheWay) {
    TempEnv env;
    const auto blocker = env.Root() / "blocked";
    { FILE* f = fopen(blocker.c_str(), "w"); fclose(f); }
    setenv("XDG_RUNTIME_DIR", blocker.c_str(), 1);
    EXPECT_EQ(pallix::RuntimeDir(), "");
}
