#include "ConsoleStreams.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

bool hasStream(DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void useCallersConsole()
{
    // Streams the caller redirected stay where they lead.
    const bool output = hasStream(STD_OUTPUT_HANDLE);
    const bool error = hasStream(STD_ERROR_HANDLE);
    if ((output && error) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        (void)std::freopen("CONOUT$", "w", stdout);
    if (!error)
        (void)std::freopen("CONOUT$", "w", stderr);
}
