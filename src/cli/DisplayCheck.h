#pragma once

// True when a window could be shown: a display the window system names can be reached, or the
// user chose a platform for the windows (QT_QPA_PLATFORM) and so takes it as it is. Without one,
// "/R" runs the list as "--run" does instead of failing to open its window.
[[nodiscard]] bool displayAvailable();
