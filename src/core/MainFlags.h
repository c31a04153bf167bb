#pragma once

// The main window's two run flags, read together with the job table by the run, the scheduler
// and the log viewer.
struct MainFlags {
    bool RunInProgress = false; // set from the start of a run until it ends normally
    bool AutoRun = false;       // "/R": the next run that ends normally closes the main window
};
