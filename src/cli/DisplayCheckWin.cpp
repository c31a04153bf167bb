#include "DisplayCheck.h"

// Every session that can start the program has a desktop to draw on.
bool displayAvailable()
{
    return true;
}
