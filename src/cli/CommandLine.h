#pragma once

#include <optional>

// What the command line asks for that needs no window: the help and the version, "--run", the
// exports of the schedule, and "/R" where no display can be opened. Returns the exit status when
// it was answered here; nullopt when the window is to open. Creates the core application object
// where it needs one, so the caller makes its own only for the window.
[[nodiscard]] std::optional<int> answerWithoutWindow(int& argc, char** argv);
