#include "AboutBox.h"
#include "Clock.h"
#include "HelpWindow.h"
#include "MainForm.h"
#include "QtPrompts.h"
#include "RunlatchLogForm.h"
#include "RunlatchParamForm.h"
#include "RunlatchSchedForm.h"
#include "Translations.h"
#include "UserFolder.h"
#include "WindowEntry.h"

#include <QApplication>
#include <QIcon>

int runlatchWindowMain(int argc, char** argv)
{
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
