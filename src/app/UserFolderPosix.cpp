#include "UserFolder.h"

// The desktop entry starts Runlatch in the user's home folder, which needs nothing.
void prepareUserFolder(const QString& /*programDir*/) {}
