#include "WindowEntry.h"

int runWindow(int argc, char** argv)
{
    return runlatchWindowMain(argc, argv);
}
