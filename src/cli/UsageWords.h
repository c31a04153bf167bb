#pragma once

// The words of the command-line help that differ between platforms: how the program is named, its
// example, and where the manual is. One definition per platform (UsageWords*.cpp).
struct UsageWords {
    const char* program;     // "runlatch"
    const char* helpOptions; // the switches that print the help, as the usage line lists them
    const char* helpColumn;  // the same, padded to the options' column
    const char* example;     // a command line with a job file in the platform's notation
    const char* epilogue;    // the last lines: where the log goes and where the manual is
};

[[nodiscard]] const UsageWords& usageWords();
