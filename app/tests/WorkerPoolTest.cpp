// SPDX-License-Identifier: GPL-3.0-or-later
// The worker pool under many short batches of uneven tasks on more workers
// than the machine has cores: every task of every batch runs exactly once,
// and no batch's task runs after its run() has returned.
#include "fit/fast/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace velmora {
namespace {

constexpr int kWorkers = 6;

// Spins for a while that depends on its arguments, so tasks end out of order
// and workers arrive at a batch at every stage of it.
void spin(int amount) {
    std::atomic<int> sink{0};
    for (int s = 0; s < amount; ++s) {
        sink.fetch_add(1, std::memory_order_relaxed);
    }
}

TEST(WorkerPool, ManyShortUnevenBatchesRunEveryTaskExactlyOnce) {
    WorkerPool pool(kWorkers);
    ASSERT_EQ(pool.workerCount(), kWorkers);
    std::vector<int> wrong;
    for (int batch = 0; batch < 2000; ++batch) {
        // Tiny batches, which the calling thread often ends alone before a
        // woken worker arrives, alternate with larger ones.
        const int count = batch % 2 == 1 ? 2 : 3 + (batch * 5) % 29;
        auto runs = std::make_unique<std::atomic<int>[]>(count);
        auto returned = std::make_shared<std::atomic<bool>>(false);
        std::atomic<int> lateRuns{0};
        pool.run(count, [&, returned](int index) {
            if (returned->load()) {
                lateRuns.fetch_add(1);
            }
            spin(((index * 7 + batch * 13) % 11) * 20);
            if ((index + batch) % 5 == 0) {
                std::this_thread::yield();
            }
            runs[index].fetch_add(1);
        });
        returned->store(true);
        for (int i = 0; i < count; ++i) {
            if (runs[i].load() != 1) {
                wrong.push_back(batch);
            }
        }
        ASSERT_EQ(lateRuns.load(), 0) << "a task of batch " << batch << " ran after run() returned";
        // The caller's own work between batches, as the engine scores between them.
        spin((batch * 7919) % 400);
    }
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " tasks did not run exactly once, first in batch "
                               << (wrong.empty() ? -1 : wrong.front());
}

TEST(WorkerPool, RethrowsATaskExceptionAndStaysUsable) {
    WorkerPool pool(kWorkers);
    EXPECT_THROW(pool.run(40,
                          [](int index) {
                              if (index == 17) {
                                  throw std::runtime_error("task 17");
                              }
                          }),
                 std::runtime_error);
    std::atomic<int> total{0};
    pool.run(40, [&](int index) { total.fetch_add(index); });
    EXPECT_EQ(total.load(), 40 * 39 / 2);
}

} // namespace
} // namespace velmora
