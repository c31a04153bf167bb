#include "UsageWords.h"

const UsageWords& usageWords()
{
    static constexpr UsageWords Words{
        "runlatch.exe",
        "/? | --help | --version",
        "/?, --help   ",
        "runlatch.exe \"/IC:\\Users\\me\\jobs.ini\" /R",
        "Every run is logged to Runlatch.log in the folder Runlatch is started from; the\n"
        "Start menu's Runlatch starts in Documents\\Runlatch, and keeps its log there.\n"
        "The manual is under Help > Contents (F1).\n",
        "--export-task",
        "                write a Task Scheduler task (Runlatch <name>.xml) that runs the list\n"
        "                on the job file's schedule with --run, into <folder> (the current\n"
        "                folder), and print the schtasks command that imports it\n",
        "",
    };
    return Words;
}
