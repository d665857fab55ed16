#include <QCommandLineParser>
#include <QCoreApplication>

#include "vantelversion.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                    .arg(VANTEL_VERSION_MAJOR)
                                                    .arg(VANTEL_VERSION_MINOR)
                                                    .arg(VANTEL_VERSION_PATCH));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vantel report designer"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    return 0;
}
