// SPDX-License-Identifier: GPL-3.0-or-later
#include "fit/fast/WorkerPool.h"

#include "fit/AvailableCpus.h"
#include "fit/ThreadStack.h"

#include <stdexcept>

namespace velmora {

WorkerPool::WorkerPool() {
    const int workers = availableCpus() - 1;
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
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || batch_ != seen; });
            if (stopping_) {
                return;
            }
            seen = batch_;
            ++busyWorkers_;
        }
        drainBatch();
        {
            const std::lock_guard lock(mutex_);
            --busyWorkers_;
        }
        done_.notify_all();
    }
}

void WorkerPool::drainBatch() {
    while (true) {
        const int index = next_.fetch_add(1);
        if (index >= count_) {
            return;
        }
        try {
            (*task_.load())(index);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!error_) {
                error_ = std::current_exception();
            }
        }
        if (finished_.fetch_add(1) + 1 == count_) {
            const std::lock_guard lock(mutex_);
            done_.notify_all();
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
    {
        const std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        next_ = 0;
        finished_ = 0;
        error_ = nullptr;
        ++batch_;
    }
    wake_.notify_all();
    drainBatch();
    std::exception_ptr error;
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return finished_ == count_ && busyWorkers_ == 0; });
        task_ = nullptr;
        count_ = 0;
        error = error_;
    }
    if (error) {
        std::rethrow_exception(error);
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
