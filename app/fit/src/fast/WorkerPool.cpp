// SPDX-License-Identifier: GPL-3.0-or-later
// Why a batch can never leak into the next one: a worker joins a batch only
// under the mutex while that batch is current_, and run() first takes
// indices itself until none is left, then, under the mutex, retires the
// batch (current_ = nullptr, so nobody can join it any more) and waits until
// every worker that joined has left drain(). A worker leaves drain() only
// after the task it took has returned. So when run() returns every index has
// been taken exactly once and has finished, and no thread holds the batch,
// whose counter and task live on run()'s stack and die with it.
#include "fit/fast/WorkerPool.h"

#include "fit/AvailableCpus.h"
#include "fit/ThreadStack.h"

namespace velmora {

WorkerPool::WorkerPool() : WorkerPool(availableCpus() - 1) {}

WorkerPool::WorkerPool(int workers) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kFitThreadStackBytes);
    for (int w = 0; w < workers; ++w) {
        pthread_t thread;
        if (pthread_create(&thread, &attributes, &WorkerPool::workerMain, this) != 0) {
            break; // fewer workers: the calling thread does the rest
        }
        workers_.push_back(thread);
    }
    pthread_attr_destroy(&attributes);
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (pthread_t thread : workers_) {
        pthread_join(thread, nullptr);
    }
}

void* WorkerPool::workerMain(void* pool) {
    static_cast<WorkerPool*>(pool)->workLoop();
    return nullptr;
}

void WorkerPool::workLoop() {
    std::uint64_t seen = 0;
    while (true) {
        Batch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock,
                       [&] { return stopping_ || (current_ != nullptr && generation_ != seen); });
            if (stopping_) {
                return;
            }
            seen = generation_;
            batch = current_;
            ++batch->joined;
        }
        drain(*batch);
        bool lastOut = false;
        {
            const std::lock_guard lock(mutex_);
            lastOut = --batch->joined == 0;
        }
        if (lastOut) {
            done_.notify_all();
        }
    }
}

void WorkerPool::drain(Batch& batch) {
    while (true) {
        const int index = batch.next.fetch_add(1, std::memory_order_relaxed);
        if (index >= batch.count) {
            return;
        }
        try {
            (*batch.task)(index);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!batch.error) {
                batch.error = std::current_exception();
            }
        }
    }
}

void WorkerPool::run(int count, const Task& task) {
    if (count <= 0) {
        return;
    }
    if (workers_.empty() || count == 1) {
        for (int i = 0; i < count; ++i) {
            task(i);
        }
        return;
    }
    Batch batch;
    batch.task = &task;
    batch.count = count;
    {
        const std::lock_guard lock(mutex_);
        current_ = &batch;
        ++generation_;
    }
    wake_.notify_all();
    drain(batch);
    {
        std::unique_lock lock(mutex_);
        current_ = nullptr;
        done_.wait(lock, [&] { return batch.joined == 0; });
    }
    if (batch.error) {
        std::rethrow_exception(batch.error);
    }
}

void WorkerPool::run(int count, bool worthSharing, const Task& task) {
    if (worthSharing) {
        run(count, task);
        return;
    }
    for (int i = 0; i < count; ++i) {
        task(i);
    }
}

} // namespace velmora
