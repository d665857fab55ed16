#include "commandline.h"

#include "quarnapp.h"
#include "quarndoc.h"
#include "renderreportpage.h"
#include "reportfile.h"
#include "vornreport.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QSettings>
#include <QTextStream>

#include <cstring>

namespace {

const char *const batchOptions[] = {"--check", "--resave", "--render", "--help", "-h",
                                    "--version", "-v"};

int Fail(const QString &message)
{
    QTextStream(stdout) << message << Qt::endl;
    return 1;
}

// Opens a file the way File Open does: read into a fresh report, then validate.
bool OpenReport(CVornReport &report, const QString &path, QString &message)
{
    return VornTemplate::Load(report, path, message);
}

int Check(const QString &path)
{
    CVornReport report;
    QString message;
    if (!OpenReport(report, path, message))
        return Fail(message);
    QTextStream(stdout) << "OK" << Qt::endl;
    return 0;
}

int Resave(const QString &in, const QString &out)
{
    CVornReport report;
    QString message;
    if (!OpenReport(report, in, message) || !VornTemplate::Save(report, out, message))
        return Fail(message);
    return 0;
}

int Render(const QString &in, const QString &out, const QString &sizeText, const QString &gridText)
{
    QSize size;
    if (!sizeText.isEmpty()) {
        const QStringList parts = sizeText.split(u'x');
        bool okW = false;
        bool okH = false;
        if (parts.size() == 2)
            size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
        if (!okW || !okH || size.width() <= 0 || size.height() <= 0 || size.width() > 20000
            || size.height() > 20000)
            return Fail(QCoreApplication::translate("Vantel", "Invalid size: %1 (expected WxH)")
                                .arg(sizeText));
    }
    bool grid = QSettings().value(CQuarnDoc::GridSettingKey(), 1).toInt() != 0;
    if (!gridText.isEmpty()) {
        if (gridText != QStringLiteral("0") && gridText != QStringLiteral("1"))
            return Fail(QCoreApplication::translate("Vantel", "Invalid grid flag: %1 (expected 0 or 1)")
                                .arg(gridText));
        grid = gridText == QStringLiteral("1");
    }
    CVornReport report;
    QString message;
    if (!OpenReport(report, in, message))
        return Fail(message);
    const QImage image = RenderReportPage(report, size, grid);
    if (!image.save(out, "PNG"))
        return Fail(QCoreApplication::translate("Vantel", "Failed to write the image: %1").arg(out));
    return 0;
}

} // namespace

bool IsBatchCommand(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : batchOptions) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

int RunBatchCommand(int argc, char **argv)
{
    // Batch commands draw into images only: they never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    CQuarnApp::SetIdentity();

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QCoreApplication::translate("Vantel", "Vantel report designer"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption check(QStringLiteral("check"),
                                   QCoreApplication::translate(
                                           "Vantel", "Open FILE as File Open does; print OK or "
                                                     "the message the designer would show."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption resave(QStringLiteral("resave"),
                                    QCoreApplication::translate(
                                            "Vantel", "Open IN and save it to the file given "
                                                      "after it, as File Save does."),
                                    QStringLiteral("IN"));
    const QCommandLineOption render(QStringLiteral("render"),
                                    QCoreApplication::translate(
                                            "Vantel", "Draw the page of IN as the designer shows "
                                                      "it, into the PNG file given with -o."),
                                    QStringLiteral("IN"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QCoreApplication::translate("Vantel", "The image to write."),
                                    QStringLiteral("OUT.png"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QCoreApplication::translate(
                                          "Vantel", "Window area to draw, in pixels (default: "
                                                    "the whole page with its margins)."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption grid(QStringLiteral("grid"),
                                  QCoreApplication::translate(
                                          "Vantel", "Draw the alignment grid: 1 or 0 (default: "
                                                    "the designer's setting)."),
                                  QStringLiteral("0|1"));
    parser.addOptions({check, resave, render, output, size, grid});
    parser.addPositionalArgument(QStringLiteral("OUT"),
                                 QCoreApplication::translate("Vantel",
                                                             "The file --resave writes."),
                                 QStringLiteral("[OUT]"));
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(check)) {
        if (!positional.isEmpty())
            return Fail(QCoreApplication::translate("Vantel", "--check takes one file"));
        return Check(parser.value(check));
    }
    if (parser.isSet(resave)) {
        if (positional.size() != 1)
            return Fail(QCoreApplication::translate("Vantel", "--resave needs IN and OUT"));
        return Resave(parser.value(resave), positional.constFirst());
    }
    if (parser.isSet(render)) {
        if (!parser.isSet(output))
            return Fail(QCoreApplication::translate("Vantel", "--render needs -o OUT.png"));
        return Render(parser.value(render), parser.value(output), parser.value(size),
                      parser.value(grid));
    }
    parser.showHelp(1);
}
