#include "UsageWords.h"

const UsageWords& usageWords()
{
    static constexpr UsageWords Words{
        "runlatch",
        "--help | --version",
        "--help       ",
        "runlatch /I/home/me/jobs.ini /R",
        "Every run is logged to Runlatch.log in the folder Runlatch is started from.\n"
        "The manual is under Help > Contents, and in \"man runlatch\".\n",
        "--export-systemd",
        "                write a systemd user service and timer (runlatch-<name>.service and\n"
        "                .timer) that run the list on the job file's schedule with --run, into\n"
        "                <folder> (~/.config/systemd/user), and print the command that starts\n"
        "                the timer\n",
        ";\n                where no display can be opened, it runs the list at once, as --run\n"
        "                does",
    };
    return Words;
}
