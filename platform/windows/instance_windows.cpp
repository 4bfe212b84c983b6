// Single instance on Windows: a named mutex that the system releases when
// the process ends.  Session end arrives as a window message, which Qt turns
// into its session manager's commit request, so there is nothing to watch.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

bool claim_single_instance(std::string_view name)
{
    const std::string id(name);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, id.c_str());  // held for the life of the process
    return !(mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS);
}

int watch_session_end() { return -1; }

bool take_session_end_request() { return false; }

}  // namespace platform

namespace platform {

// A tool window has no taskbar button on Windows; nothing more to do.
void hide_from_taskbar(std::uintptr_t) { }

}  // namespace platform
