// SPDX-License-Identifier: GPL-3.0-or-later
// A small pool of worker threads that runs the tasks of one batch together
// with the calling thread. Every worker has the stack of kFitThreadStackBytes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <vector>

namespace velmora {

class WorkerPool {
public:
    using Task = std::function<void(int)>;

    // One worker per processor this process may use besides the calling
    // thread.
    WorkerPool();
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs task(0) .. task(count - 1), each once, on the workers and the
    // calling thread, and returns when all have finished. The first
    // exception a task throws is rethrown here.
    void run(int count, const Task& task);

    // As run, or on the calling thread alone when the batch is too small to
    // be worth waking the workers for.
    void run(int count, bool worthSharing, const Task& task);

private:
    static void* workerMain(void* pool);
    void workLoop();
    void drainBatch();

    std::vector<pthread_t> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::uint64_t batch_ = 0; // counts the batches handed out
    bool stopping_ = false;
    int busyWorkers_ = 0;
    std::atomic<const Task*> task_{nullptr};
    std::atomic<int> count_{0};
    std::atomic<int> next_{0};
    std::atomic<int> finished_{0};
    std::exception_ptr error_;
};

} // namespace velmora
