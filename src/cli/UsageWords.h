#pragma once

// The words of the command-line help that differ between platforms: how the program is named, its
// example, where the manual is, and the system's scheduler. One definition per platform
// (UsageWords*.cpp).
struct UsageWords {
    const char* program;      // "runlatch"
    const char* helpOptions;  // the switches that print the help, as the usage line lists them
    const char* helpColumn;   // the same, padded to the options' column
    const char* example;      // a command line with a job file in the platform's notation
    const char* epilogue;     // the last lines: where the log goes and where the manual is
    const char* exportOption; // the switch that hands the schedule to the system's scheduler
    const char* exportHelp;   // what it writes, where, and what to do next
    const char* noDisplay;    // what /R does where no window can be opened
};

[[nodiscard]] const UsageWords& usageWords();
