#include "AboutBox.h"
#include "Clock.h"
#include "CommandLineInfo.h"
#include "HelpWindow.h"
#include "MainForm.h"
#include "QtPrompts.h"
#include "RunlatchLogForm.h"
#include "RunlatchParamForm.h"
#include "RunlatchSchedForm.h"
#include "Translations.h"
#include "UserFolder.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Writes the answer to standard output. A window program on Windows starts without one unless
// its caller redirected it; typed in a console, the answer then goes to that console.
bool printAnswer(const QString& answer)
{
#ifdef Q_OS_WIN
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output == nullptr || output == INVALID_HANDLE_VALUE) &&
        ::AttachConsole(ATTACH_PARENT_PROCESS) && std::freopen("CONOUT$", "w", stdout) == nullptr)
        return false;
#endif
    const QByteArray text = answer.toLocal8Bit();
    return std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout) ==
               static_cast<std::size_t>(text.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Answered before the application object exists, which would need a display.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> info = commandLineInfo(given))
        return printAnswer(*info) ? 0 : 1;

    QApplication app(argc, argv);
    // The name only, no display name: with one, desktops append " — Runlatch" to every
    // window's caption, and the captions are to read exactly as they are set.
    QApplication::setApplicationName(QStringLiteral("Runlatch"));
    // Lets desktops match the windows with the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Runlatch"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/runlatch-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    const QString programDir = QApplication::applicationDirPath() + u'/';
    // Before the first window: texts are translated as the widgets are built.
    installTranslations(app, programDir, QLocale());
    // Before the start-up reads the command line, which may name the example it copies.
    prepareUserFolder(programDir);

    QtPrompts prompts;
    SystemClock clock;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    // The main window first: its start-up runs before the editors exist and uses neither.
    TMainForm mainForm({prompts, clock, programDir, arguments});
    TRunlatchParamForm paramForm(prompts, &mainForm);
    TRunlatchSchedForm schedForm(prompts, &mainForm);
    HelpWindow help;

    mainForm.setWindowCommands({
        .Log1Click =
            [&] {
                TRunlatchLogForm::Log1Click(mainForm, mainForm.activityLog(), mainForm.flags(),
                                            prompts);
            },
        .Parameters1Click = [&] { paramForm.Parameters1Click(mainForm.jobTable()); },
        .Schedule1Click =
            [&] { schedForm.Schedule1Click(mainForm.jobTable(), mainForm.scheduler()); },
        .Contents1Click = [&] { help.Contents1Click(&mainForm); },
        .About1Click =
            [&] {
                TAboutBox::About1Click(&mainForm, prompts, [&] { help.Contents1Click(&mainForm); });
            },
    });

    mainForm.show();
    const int status = QApplication::exec();
    return status != 0 ? status : mainForm.exitStatus();
}
