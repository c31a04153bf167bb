#pragma once

#include <unistd.h>

// Some failures do not fail, they hang: opening a FIFO the blocking way waits for a peer that
// never comes, and a child reading a terminal waits for a line. While this lives, such a wait ends
// the test program (SIGALRM's default action), so that the test fails instead of hanging; a test
// that passes never gets near the limit.
class FailInsteadOfHanging {
public:
    FailInsteadOfHanging() { ::alarm(60); }
    ~FailInsteadOfHanging() { ::alarm(0); }
    FailInsteadOfHanging(const FailInsteadOfHanging&) = delete;
    FailInsteadOfHanging& operator=(const FailInsteadOfHanging&) = delete;
};
