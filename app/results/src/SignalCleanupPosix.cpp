// SPDX-License-Identifier: GPL-3.0-or-later
// The registry of temporary files and the signal handler that removes them.
// The handler only reads the registry's atomic states and calls unlinkat and
// raise, all of which are safe in a signal handler.
#include "SignalCleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace velmora::fileops {

namespace {

enum SlotState : int { kFree, kFilling, kSet };

struct Slot {
    std::atomic<int> state{kFree};
    int directory = -1;
    std::array<char, 256> name{};
};

std::array<Slot, 64> slots;

constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};

std::mutex actionsMutex;
int registrations = 0; // guarded by actionsMutex
std::array<bool, kEndingSignals.size()> handled{};
bool fileSizeSignalIgnored = false;

extern "C" void removeTemporariesAndEnd(int signal) {
    for (const Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == kSet) {
            ::unlinkat(slot.directory, slot.name.data(), 0);
        }
    }
    // SA_RESETHAND gave the signal back its default action and SA_NODEFER
    // lets it through at once: the process ends as the signal asked.
    ::raise(signal);
}

bool hasDefaultAction(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) == 0 &&
           current.sa_handler == SIG_DFL;
}

void setAction(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

// Called with actionsMutex held, when the first file is registered.
void takeSignals() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        handled[i] = hasDefaultAction(kEndingSignals[i]);
        if (handled[i]) {
            setAction(kEndingSignals[i], &removeTemporariesAndEnd, SA_RESETHAND | SA_NODEFER);
        }
    }
    fileSizeSignalIgnored = hasDefaultAction(SIGXFSZ);
    if (fileSizeSignalIgnored) {
        setAction(SIGXFSZ, SIG_IGN, 0);
    }
}

// Called with actionsMutex held, when the last registration ends.
void giveSignalsBack() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (handled[i]) {
            setAction(kEndingSignals[i], SIG_DFL, 0);
        }
    }
    if (fileSizeSignalIgnored) {
        setAction(SIGXFSZ, SIG_DFL, 0);
    }
}

void holdActions() {
    const std::lock_guard lock(actionsMutex);
    if (registrations++ == 0) {
        takeSignals();
    }
}

void releaseActions() {
    const std::lock_guard lock(actionsMutex);
    if (--registrations == 0) {
        giveSignalsBack();
    }
}

} // namespace

int registerTemporary(int directory, const std::string& name) {
    if (name.size() >= Slot{}.name.size()) {
        return -1;
    }
    // The handler is in place before the file is in the registry.
    holdActions();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kFilling)) {
            slots[i].directory = directory;
            std::memcpy(slots[i].name.data(), name.c_str(), name.size() + 1);
            slots[i].state.store(kSet, std::memory_order_release);
            return static_cast<int>(i);
        }
    }
    releaseActions();
    return -1;
}

void unregisterTemporary(int registration) {
    if (registration < 0) {
        return;
    }
    slots[static_cast<std::size_t>(registration)].state.store(kFree, std::memory_order_release);
    releaseActions();
}

} // namespace velmora::fileops
