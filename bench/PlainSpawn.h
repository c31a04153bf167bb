#pragma once

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// The baseline the launcher is measured against: start a program without arguments with
// posix_spawn and wait for it with waitpid, nothing more. False when it could not be started.
inline bool plainSpawnAndWait(const char* path)
{
    char* argv[] = {const_cast<char*>(path), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, path, nullptr, nullptr, argv, environ) != 0)
        return false;
    waitpid(pid, nullptr, 0);
    return true;
}
