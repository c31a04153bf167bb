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
    };
    return Words;
}
