#pragma once

// The window program: everything Runlatch does with a window, from the application object to
// the end of its event loop. Returns the exit status.
extern "C" int runlatchWindowMain(int argc, char** argv);

// Starts the window program from the program's entry. Where the window lives in a module of its
// own, it is loaded only now, so that a run without a window never loads the libraries of the
// windows.
[[nodiscard]] int runWindow(int argc, char** argv);
