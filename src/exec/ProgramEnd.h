#pragma once

#include <QString>

#include <cstdint>

// How one program of the list ended. The launcher tells it (kind, value, text) for every program
// whose end its wait saw; the run adds which entry it was and reports those that did not end with
// exit code 0.
struct ProgramEnd {
    enum class Kind { ExitCode, Signal };
    int entry = 0; // counted from 1
    QString program;
    Kind kind = Kind::ExitCode;
    // The exit code (on Windows the whole 32-bit status) or the signal's number.
    std::uint32_t value = 0;
    // The words the run writes after the program's path: "ended with exit code 3",
    // "ended by signal 9 (Killed)", "ended with exit code 0xC0000005".
    QString text;
};
