#include "MainForm.h"
#include "QtPrompts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Runlatch"));
    QApplication::setApplicationDisplayName(QStringLiteral("Runlatch"));

    QtPrompts prompts;
    SystemClock clock;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TMainForm mainForm({prompts, clock, QApplication::applicationDirPath() + u'/', arguments});
    mainForm.show();
    return QApplication::exec();
}
