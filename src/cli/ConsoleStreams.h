#pragma once

#include <QString>

#include <cstdio>

// Standard output and standard error for a program that speaks without a window. A window
// program may start without them (one started from a console on Windows); they are then the
// console of whoever started it, when there is one.
void useCallersConsole();

// Writes text to stream in the system's encoding and flushes it; false when that failed.
bool printText(std::FILE* stream, const QString& text);
