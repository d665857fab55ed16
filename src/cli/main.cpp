#include "batchcommand.h"
#include "checkcommand.h"
#include "dataconnection.h"
#include "printjob.h"
#include "renderarguments.h"
#include "rendercommand.h"
#include "sourcedate.h"
#include "versiontext.h"

#include <QGuiApplication>
#include <QHashSeed>
#include <QRegularExpression>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace {

// The program's own message is the only text on standard error: Qt's notes about the session
// (no runtime folder, the offscreen platform) would read as failures in a script's log.
void QuietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("VANTEL_RENDER_VERBOSE"))
        QTextStream(stderr) << qFormatLogMessage(type, context, text) << Qt::endl;
}

// A failure is one line on standard error, whatever a driver's message held.
QString OneLine(QString message)
{
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return message.replace(breaks, QStringLiteral(" ")).trimmed();
}

// Ends the program with code. A database open that timed out may still run on its helper
// thread; the client libraries' clean-up at exit would wait for it, so the program then leaves
// at once.
int Leave(int code)
{
    if (DataOpensInFlight()) {
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    return code;
}

} // namespace

// vantel-render: runs a report and writes it as PDF or PNG, without a display.
int main(int argc, char **argv)
{
    // A run allocates and frees a document's buffers (tens of megabytes) again and again; the
    // allocator's default hands such memory back to the system and faults it in anew each time,
    // which cost a batch of files about a tenth of its time. The most a run keeps is bounded by
    // its largest document.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    // The PDF writer lists a file's fonts in the order of a hash table: with Qt's seed drawn
    // anew by each process, two runs would write the same fonts in another order.
    QHashSeed::setDeterministicGlobalSeed();
    // Under SOURCE_DATE_EPOCH a file's dates are written in UTC, whatever the machine's zone,
    // so that they are the same bytes everywhere.
    qint64 epoch = 0;
    const ESourceDate sourceDate = ReadSourceDate(epoch);
    if (sourceDate == ESourceDate::Set) {
        qputenv("TZ", "UTC");
        tzset();
    }
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
    if (sourceDate == ESourceDate::Malformed) {
        err << QCoreApplication::translate("CRenderArguments",
                                           "SOURCE_DATE_EPOCH must be a whole number of seconds "
                                           "since 1970, not \"%1\"")
                        .arg(QString::fromLocal8Bit(qgetenv("SOURCE_DATE_EPOCH")))
            << Qt::endl;
        return 2;
    }
    if (!parsed.Parse(arguments, message)) {
        // A wrong command line, as the designer tells it apart from a failed run.
        err << OneLine(message) << Qt::endl;
        return 2;
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
        const bool read = RunCheckCommand(parsed, problems, message);
        if (!read) {
            err << OneLine(message) << Qt::endl;
        } else {
            QTextStream out(stdout);
            if (problems.isEmpty())
                out << "OK" << Qt::endl;
            // A driver's message may run over several lines; a problem is one.
            for (const QString &line : std::as_const(problems))
                out << OneLine(line) << Qt::endl;
        }
        return Leave(read && problems.isEmpty() ? 0 : 1);
    }
    if (parsed.IsBatch()) {
        QTextStream out(stdout);
        // The count of rows on a terminal, unless the manifest's own lines go there too.
        const bool progress = isatty(STDERR_FILENO) && !isatty(STDOUT_FILENO);
        const int code = RunBatchCommand(parsed, out, progress ? &err : nullptr, message);
        if (!message.isEmpty())
            err << OneLine(message) << Qt::endl;
        return Leave(code);
    }
    if (parsed.print) {
        QString job;
        if (!RunPrintCommand(parsed, job, message)) {
            err << OneLine(message) << Qt::endl;
            return Leave(1);
        }
        QTextStream(stdout) << job << Qt::endl;
        return 0;
    }
    if (!RunRenderCommand(parsed, message)) {
        err << OneLine(message) << Qt::endl;
        return Leave(1);
    }
    return 0;
}
