// Time of one post to a live mailbox. Each post is timed on its own; the receiver
// is drained between batches, outside the timing, so that no post meets a full
// queue (a post to a busy receiver fails early and would flatter the figure).
// Run: build/bench/mailbox/mailbox_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "common/Posting.h"
#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/support/TempEnv.h"

namespace {

using namespace pallix;

constexpr int kBatch = 8;  // well below the receiver's queue length

void TimePosts(benchmark::State& state, Mailbox& receiver, const MailboxPoster& poster,
               const std::function<PostResult()>& post) {
    int inBatch = 0;
    std::int64_t failed = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const PostResult result = post();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        failed += result != PostResult::Posted;
        if (++inBatch == kBatch) {
            while (receiver.Receive()) {
            }
            inBatch = 0;
        }
    }
    state.counters["not_posted"] = static_cast<double>(failed);
    state.counters["busy"] = static_cast<double>(poster.BusyCount());
}

void BM_Post(benchmark::State& state) {
    test::TempEnv env;
    Mailbox receiver;
    MailboxPoster poster;
    const Message message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 0x1234};
    TimePosts(state, receiver, poster, [&] { return poster.Post(receiver.Handle(), message); });
}

// The monitor's rule end to end (with the real store): read the handle, check
// that it is live, post.
void BM_PostToLiveWindow(benchmark::State& state) {
    test::TempEnv env;
    Mailbox receiver;
    MailboxPoster poster;
    SqliteSettingsStore store{(env.Root() / "settings.sqlite3").string()};
    PublishHandle(store, kOsdHandle, receiver.Handle());
    const Message message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 0x1234};
    TimePosts(state, receiver, poster,
              [&] { return PostToLiveWindow(store, poster, kOsdHandle, message); });
}

BENCHMARK(BM_Post)->UseManualTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PostToLiveWindow)->UseManualTime()->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
