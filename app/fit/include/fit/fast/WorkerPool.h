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
    // The given number of workers besides the calling thread (0: the calling
    // thread alone).
    explicit WorkerPool(int workers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs task(0) .. task(count - 1), each exactly once, on the workers and
    // the calling thread, and returns when all have finished and no worker
    // holds the batch any more. The first exception a task throws is
    // rethrown here. One thread at a time may call run.
    void run(int count, const Task& task);

    // As run, or on the calling thread alone when the batch is too small to
    // be worth waking the workers for.
    void run(int count, bool worthSharing, const Task& task);

    int workerCount() const { return static_cast<int>(workers_.size()); }

private:
    // One batch's own state, on the stack of the run() that hands it out.
    struct Batch {
        const Task* task = nullptr;
        int count = 0;
        std::atomic<int> next{0}; // the next index to take
        int joined = 0;           // workers inside drain(); under mutex_
        std::exception_ptr error; // under mutex_
    };

    static void* workerMain(void* pool);
    void workLoop();
    void drain(Batch& batch);

    std::vector<pthread_t> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    Batch* current_ = nullptr;     // the batch workers may join; under mutex_
    std::uint64_t generation_ = 0; // counts the batches handed out; under mutex_
    bool stopping_ = false;        // under mutex_
};

} // namespace velmora
