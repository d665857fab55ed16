#include "checkcommand.h"
#include "rendercommand.h"
#include "renderarguments.h"
#include "versiontext.h"

#include <QGuiApplication>
#include <QTextStream>

#include <csignal>

namespace {

// The program's own message is the only text on standard error: Qt's notes about the session
// (no runtime folder, the offscreen platform) would read as failures in a script's log.
void QuietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("VANTEL_RENDER_VERBOSE"))
        QTextStream(stderr) << qFormatLogMessage(type, context, text) << Qt::endl;
}

} // namespace

// vantel-render: runs a report and writes it as PDF or PNG, without a display.
int main(int argc, char **argv)
{
    qInstallMessageHandler(QuietMessages);
    // Writing past the file-size limit must fail the write, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Drawing needs no screen: a server has none, and a desktop's is not wanted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationName(QStringLiteral("Vantel"));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    CRenderArguments parsed;
    QString message;
    QTextStream err(stderr);
    if (!parsed.Parse(arguments, message)) {
        err << message << Qt::endl;
        return 1;
    }
    if (parsed.help) {
        QTextStream(stdout) << CRenderArguments::Usage();
        return 0;
    }
    if (parsed.version) {
        QTextStream(stdout) << "vantel-render " << VersionText() << Qt::endl;
        return 0;
    }
    if (parsed.check) {
        QStringList problems;
        if (!RunCheckCommand(parsed, problems, message)) {
            err << message << Qt::endl;
            return 1;
        }
        QTextStream out(stdout);
        if (problems.isEmpty())
            out << "OK" << Qt::endl;
        for (const QString &line : std::as_const(problems))
            out << line << Qt::endl;
        return problems.isEmpty() ? 0 : 1;
    }
    if (!RunRenderCommand(parsed, message)) {
        err << message << Qt::endl;
        return 1;
    }
    return 0;
}
