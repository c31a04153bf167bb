// The peer of a run without a window in bench_headless: a Qt Core program that starts one program
// (the one its argument names, /bin/true without one) and waits for it, and nothing else.
#include <QCoreApplication>
#include <QProcess>

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    QProcess child;
    child.start(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/bin/true"), {});
    return child.waitForFinished(-1) && child.exitCode() == 0 ? 0 : 1;
}
