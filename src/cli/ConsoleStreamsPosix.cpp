#include "ConsoleStreams.h"

#include <csignal>

void useCallersConsole()
{
    // A reader that went away (a pipe into "head") must not end a run: what is printed is a copy
    // of the log anyway.
    std::signal(SIGPIPE, SIG_IGN);
}
