#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/SqliteSettingsStore.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

// Three processes start on a store that does not exist yet, so they also race to
// create it, then read and write the same and each other's values in a tight loop.
TEST(SettingsConcurrencyTest, ThreeProcessesNeverSeeAnErrorOrATornValue) {
    test::TempEnv env;
    const std::string store = (env.Root() / "config" / "settings.sqlite3").string();
    constexpr int kWriters = 3;
    constexpr int kRounds = 150;
    std::vector<pid_t> pids;
    for (int id = 0; id < kWriters; ++id) {
        const std::string log = (env.Root() / ("hammer" + std::to_string(id))).string();
        pids.push_back(test::StartProcess(
            {SETTINGS_HAMMER, store, std::to_string(id), std::to_string(kWriters), std::to_string(kRounds)},
            log + ".out", log + ".err"));
        ASSERT_GT(pids.back(), 0);
    }
    for (int id = 0; id < kWriters; ++id) {
        EXPECT_EQ(test::WaitProcess(pids[id]), 0)
            << test::ReadWholeFile((env.Root() / ("hammer" + std::to_string(id) + ".err")).string());
    }
    SqliteSettingsStore check(store);
    for (int id = 0; id < kWriters; ++id)
        EXPECT_EQ(check.ReadDword("Counter " + std::to_string(id)) & 0xFFFFu, static_cast<std::uint32_t>(kRounds - 1));
}

}  // namespace
}  // namespace pallix
