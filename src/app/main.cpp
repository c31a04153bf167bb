#include "CommandLine.h"
#include "WindowEntry.h"

int main(int argc, char* argv[])
{
    // Answered before the window's libraries are even loaded: a run without a window needs
    // nothing of them, nor a display.
    if (const std::optional<int> status = answerWithoutWindow(argc, argv))
        return *status;
    return runWindow(argc, argv);
}
