#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Runlatch"));
    QApplication::setApplicationDisplayName(QStringLiteral("Runlatch"));
    return 0;
}
