// SPDX-License-Identifier: GPL-3.0-or-later
// The registry of temporary files and the console control handler that
// removes them. Windows runs the handler on a thread of its own, so it may
// take the registry's lock and delete the files; they are open with
// FILE_SHARE_DELETE, so a file still being written is deleted as the
// process ends and closes it. The handler then passes the event on, and the
// default handler ends the process as Ctrl+C does.
#include "SignalCleanup.h"

#include <map>
#include <mutex>
#include <windows.h>

namespace velmora::fileops {

namespace {

std::mutex registryMutex;
std::map<int, std::filesystem::path> registered; // guarded by registryMutex
int nextRegistration = 0;                        // guarded by registryMutex

BOOL WINAPI removeTemporaries(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        const std::lock_guard lock(registryMutex);
        for (const auto& [registration, path] : registered) {
            ::DeleteFileW(path.c_str());
        }
    }
    return FALSE;
}

} // namespace

int registerTemporary(const std::filesystem::path& path) {
    const std::lock_guard lock(registryMutex);
    if (registered.empty()) {
        ::SetConsoleCtrlHandler(&removeTemporaries, TRUE);
    }
    registered.emplace(nextRegistration, path);
    return nextRegistration++;
}

void unregisterTemporary(int registration) {
    if (registration < 0) {
        return;
    }
    const std::lock_guard lock(registryMutex);
    registered.erase(registration);
    if (registered.empty()) {
        ::SetConsoleCtrlHandler(&removeTemporaries, FALSE);
    }
}

} // namespace velmora::fileops
