#include "commandline.h"

#include "bandreferences.h"
#include "pagegeometry.h"
#include "quarnapp.h"
#include "quarndoc.h"
#include "renderreportpage.h"
#include "reportfile.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

// The largest image --render draws: 64 million pixels (256 MB), more than an
// A0 sheet at 150 dpi. A larger page would take gigabytes and minutes.
constexpr qint64 maxRenderPixels = qint64(64) << 20;
constexpr int maxRenderSide = 20000;

// The toolkit's own options, which QGuiApplication takes out of the arguments
// itself; true for those that take a value.
const struct
{
    const char *name;
    bool hasValue;
} toolkitOptions[] = {
        {"-platform", true},        {"-platformpluginpath", true},
        {"-platformtheme", true},   {"-plugin", true},
        {"-qwindowgeometry", true}, {"-qwindowtitle", true},
        {"-qwindowicon", true},     {"-display", true},
        {"-geometry", true},        {"-style", true},
        {"-stylesheet", true},      {"-session", true},
        {"-reverse", false},        {"-widgetcount", false},
        {"-nograb", false},         {"-dograb", false},
        {"-sync", false},
};

// -1 when not a toolkit option, else 0 or 1 for the values it takes along.
int ToolkitOption(const QString &argument)
{
    for (const auto &option : toolkitOptions) {
        const QLatin1StringView name(option.name);
        if (argument == name)
            return option.hasValue ? 1 : 0;
        if (option.hasValue && argument.startsWith(name + u'='))
            return 0;
    }
    return -1;
}

void PrintOut(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

int Fail(const QString &message)
{
    QTextStream(stderr) << message << Qt::endl;
    return 1;
}

// A batch command answers on its own two streams; what the toolkit would say
// on the way (fonts, platform plugins) is not part of its answer.
void DropToolkitMessages(QtMsgType, const QMessageLogContext &, const QString &) { }

int Check(const QString &path)
{
    CVornReport report;
    QString message;
    if (!VornTemplate::Load(report, path, message))
        return Fail(message);
    // The file opens, but a run of it would fail: said as a warning beside the answer.
    for (const CBandReferenceProblem &problem : FindBandReferenceProblems(report))
        QTextStream(stderr) << Tr("Warning: %1").arg(problem.message) << Qt::endl;
    PrintOut(u"OK"_s);
    return 0;
}

int Resave(const QString &in, const QString &out)
{
    CVornReport report;
    QString message;
    if (!VornTemplate::Load(report, in, message) || !VornTemplate::Save(report, out, message))
        return Fail(message);
    return 0;
}

int Render(const CCommandLine &line)
{
    QSize size;
    if (!line.GetSize().isEmpty()) {
        const QStringList parts = line.GetSize().split(u'x');
        bool okW = false;
        bool okH = false;
        if (parts.size() == 2)
            size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
        if (!okW || !okH || size.width() <= 0 || size.height() <= 0)
            return Fail(Tr("Invalid size: %1 (expected WxH)").arg(line.GetSize()));
    }
    bool grid = QSettings().value(CQuarnDoc::GridSettingKey(), 1).toInt() != 0;
    if (!line.GetGrid().isEmpty()) {
        if (line.GetGrid() != u"0" && line.GetGrid() != u"1")
            return Fail(Tr("Invalid grid flag: %1 (expected 0 or 1)").arg(line.GetGrid()));
        grid = line.GetGrid() == u"1";
    }
    CVornReport report;
    QString message;
    if (!VornTemplate::Load(report, line.GetInput(), message))
        return Fail(message);
    const QSize drawn = size.isEmpty() ? CPageGeometry::TotalScrollSize(report, 96, 96) : size;
    if (drawn.width() > maxRenderSide || drawn.height() > maxRenderSide
        || qint64(drawn.width()) * drawn.height() > maxRenderPixels) {
        return Fail(Tr("The page is too large to render: %1 x %2 pixels (at most %3 x %3 and "
                       "%4 million pixels)")
                            .arg(drawn.width())
                            .arg(drawn.height())
                            .arg(maxRenderSide)
                            .arg(maxRenderPixels >> 20));
    }
    const QImage image = RenderReportPage(report, size, grid);
    if (image.isNull() || !image.save(line.GetOutput(), "PNG"))
        return Fail(Tr("Failed to write the image: %1").arg(line.GetOutput()));
    return 0;
}

} // namespace

CCommandLine CCommandLine::Parse(const QStringList &arguments)
{
    CCommandLine line;
    QStringList positional;
    QList<Mode> commands;
    bool haveOutput = false;
    bool haveSize = false;
    bool haveGrid = false;
    const auto error = [&line](const QString &text) {
        line = CCommandLine();
        line.m_mode = Mode::UsageError;
        line.m_error = text;
        return line;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (argument == u"--") {
            positional += arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith(u'-') || argument == u"-") {
            positional.append(argument);
            continue;
        }
        if (const int values = ToolkitOption(argument); values >= 0) {
            i += values;
            continue;
        }
        // "--name=value" gives the value in the same argument.
        QString value;
        bool inlineValue = false;
        if (argument.startsWith(u"--")) {
            if (const qsizetype equals = argument.indexOf(u'='); equals > 0) {
                value = argument.mid(equals + 1);
                argument.truncate(equals);
                inlineValue = true;
            }
        }
        const auto takeValue = [&](QString &into) {
            if (inlineValue) {
                into = value;
                return true;
            }
            if (i + 1 >= arguments.size())
                return false;
            into = arguments[++i];
            return true;
        };
        bool ok = true;
        if (argument == u"--check") {
            commands.append(Mode::Check);
            ok = takeValue(line.m_input);
        } else if (argument == u"--resave") {
            commands.append(Mode::Resave);
            ok = takeValue(line.m_input);
        } else if (argument == u"--render") {
            commands.append(Mode::Render);
            ok = takeValue(line.m_input);
        } else if (argument == u"-o" || argument == u"--output") {
            haveOutput = true;
            ok = takeValue(line.m_output);
        } else if (argument == u"--size") {
            haveSize = true;
            ok = takeValue(line.m_size);
        } else if (argument == u"--grid") {
            haveGrid = true;
            ok = takeValue(line.m_grid);
        } else if ((argument == u"--help" || argument == u"-h") && !inlineValue) {
            commands.append(Mode::Help);
        } else if ((argument == u"--version" || argument == u"-v") && !inlineValue) {
            commands.append(Mode::Version);
        } else {
            return error(Tr("Unknown option: %1").arg(arguments[i]));
        }
        if (!ok)
            return error(Tr("Missing value for %1").arg(argument));
    }

    if (commands.size() > 1)
        return error(Tr("Only one of --check, --resave, --render, --help and --version may be "
                        "given"));
    line.m_mode = commands.isEmpty() ? Mode::Window : commands.constFirst();
    if ((haveOutput || haveSize || haveGrid) && line.m_mode != Mode::Render)
        return error(Tr("-o, --size and --grid go with --render"));
    switch (line.m_mode) {
    case Mode::Window:
        if (positional.size() > 1)
            return error(Tr("Only one FILE may be given"));
        line.m_files = positional;
        break;
    case Mode::Resave:
        if (positional.size() != 1)
            return error(Tr("--resave needs IN and OUT"));
        line.m_output = positional.constFirst();
        break;
    case Mode::Render:
        if (!haveOutput)
            return error(Tr("--render needs -o OUT.png"));
        [[fallthrough]];
    default:
        if (!positional.isEmpty())
            return error(Tr("Unexpected argument: %1").arg(positional.constFirst()));
        break;
    }
    return line;
}

QString CCommandLine::HelpText()
{
    return Tr("Usage: vantel-designer [FILE]\n"
              "       vantel-designer --check FILE\n"
              "       vantel-designer --resave IN OUT\n"
              "       vantel-designer --render IN -o OUT.png [--size WxH] [--grid 0|1]\n"
              "       vantel-designer --help | --version\n"
              "\n"
              "Vantel report designer. Without a command it opens the designer window with\n"
              "the report FILE (a .vnt template), or with a new untitled report.\n"
              "The commands need no display; each prints its result on standard output and\n"
              "a failure on standard error, and exits with 0, or 1 when it failed (2 for a\n"
              "wrong command line).\n"
              "\n"
              "  FILE                    the report the window opens\n"
              "  --check FILE            open FILE as File Open does; print OK, or the\n"
              "                          message the designer would show; a band reference\n"
              "                          that a run cannot follow is a warning\n"
              "  --resave IN OUT         open the report IN and save it to OUT as File Save\n"
              "                          does\n"
              "  --render IN -o OUT.png  draw the page of the report IN as the designer\n"
              "                          shows it into the PNG image OUT.png\n"
              "    --size WxH            the window area to draw, in pixels (default: the\n"
              "                          whole page with its margins)\n"
              "    --grid 0|1            draw the alignment grid (default: the designer's\n"
              "                          setting)\n"
              "  -h, --help              show this text\n"
              "  -v, --version           show the program's version");
}

int CCommandLine::ReportUsageError() const
{
    QTextStream(stderr) << u"vantel-designer: "_s << m_error << Qt::endl
                        << Tr("Try 'vantel-designer --help' for more information.") << Qt::endl;
    return 2;
}

int CCommandLine::RunBatch(int argc, char **argv) const
{
    qInstallMessageHandler(DropToolkitMessages);
    // Lives longer than the application, so that it is removed after it.
    std::optional<QTemporaryDir> runtime;
    std::unique_ptr<QCoreApplication> app;
    if (m_mode == Mode::Render) {
        // Drawing text needs the GUI application, on a platform that needs no
        // display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Starting it looks for a desktop session in the user's runtime
        // folder and, when the session has none, creates one that stays
        // behind. A private one serves instead and goes with the command.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtime.emplace();
            if (runtime->isValid())
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    CQuarnApp::SetIdentity();

    switch (m_mode) {
    case Mode::Check:
        return Check(m_input);
    case Mode::Resave:
        return Resave(m_input, m_output);
    case Mode::Render:
        return Render(*this);
    case Mode::Help:
        PrintOut(HelpText());
        return 0;
    case Mode::Version:
        PrintOut(QCoreApplication::applicationName() + u' '
                 + QCoreApplication::applicationVersion());
        return 0;
    default:
        return ReportUsageError();
    }
}
