// The peer of a run without a window in bench_headless's memory figure: a Qt Core program that
// starts one program and waits for it, and nothing else.
#include <QCoreApplication>
#include <QProcess>

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    QProcess child;
    child.start(QStringLiteral("/bin/true"), {});
    return child.waitForFinished(-1) && child.exitCode() == 0 ? 0 : 1;
}
