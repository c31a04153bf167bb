#pragma once

#include "ProgramEnd.h"

#include <QString>

#include <cstdint>
#include <optional>

// Wait modes of StartAndWait; any other value is a time limit in milliseconds.
namespace WaitMode {
constexpr std::uint32_t NoWait = 0;
constexpr std::uint32_t Blocking = 1;
constexpr std::uint32_t Pumping = 2;
} // namespace WaitMode

// Starts ProgramName with Parameters as a new process and waits for it as Wait says. Returns
// true whenever it returns; every failure is raised: RunlatchError "Unable to find application
// %s" when ProgramName names no file, RunlatchError for a parameter text that cannot be passed
// (see ChildProcess::launch), PlatformError when the process cannot be created. ShowWindow is the
// show state of the program's first window on Windows and ignored elsewhere.
bool StartAndWait(const QString& ProgramName, const QString& Parameters, std::uint16_t ShowWindow,
                  std::uint32_t Wait);

class RunStop;
// The same, where a pumping wait shows stop the program it waits for, so that File > Stop Run
// can end it, and where end, when given, is set to how the program ended (program and kind,
// value and text; not the entry) as the pumping or the blocking wait saw it. The other wait
// modes do not see the end: they leave end empty.
bool StartAndWait(const QString& ProgramName, const QString& Parameters, std::uint16_t ShowWindow,
                  std::uint32_t Wait, RunStop* stop, std::optional<ProgramEnd>* end);
