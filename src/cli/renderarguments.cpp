#include "renderarguments.h"

using namespace Qt::StringLiterals;

namespace {

// Above this a page image of an A3 sheet no longer fits in memory comfortably.
constexpr int maxDpi = 1200;

bool ParseNumber(const QString &option, const QString &text, int low, int high, int &number,
                 QString &message)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high) {
        message = CRenderArguments::tr("%1 needs a whole number from %2 to %3, not \"%4\"")
                          .arg(option)
                          .arg(low)
                          .arg(high)
                          .arg(text);
        return false;
    }
    number = value;
    return true;
}

} // namespace

bool CRenderArguments::ParseParameter(const QString &text, CRenderParameter &parameter,
                                      QString &message)
{
    const qsizetype equals = text.indexOf(u'=');
    const QString key = equals < 0 ? text : text.left(equals);
    const qsizetype slash = key.lastIndexOf(u'/');
    if (equals < 0 || slash <= 0 || slash == key.size() - 1) {
        message = tr("--param needs BAND/NAME=VALUE, not \"%1\"").arg(text);
        return false;
    }
    parameter.band = key.left(slash);
    parameter.name = key.mid(slash + 1);
    parameter.value = text.mid(equals + 1);
    return true;
}

namespace {

// "A-B", "A-" or "A": the pages from A to B (0 for the last there is).
bool ParsePages(const QString &text, int &first, int &last, QString &message)
{
    const qsizetype dash = text.indexOf(u'-');
    bool firstOk = false;
    bool lastOk = true;
    first = (dash < 0 ? text : text.left(dash)).toInt(&firstOk);
    last = dash < 0 ? first : dash == text.size() - 1 ? 0 : text.mid(dash + 1).toInt(&lastOk);
    if (!firstOk || !lastOk || first < 1 || last < 0 || (last > 0 && last < first)) {
        message = CRenderArguments::tr("--pages needs FIRST-LAST, FIRST- or a page number, "
                                       "not \"%1\"")
                          .arg(text);
        return false;
    }
    return true;
}

// "K/N": shard K (from 0) of N.
bool ParseShard(const QString &text, int &shard, int &shards, QString &message)
{
    const qsizetype slash = text.indexOf(u'/');
    bool shardOk = false;
    bool shardsOk = false;
    shard = text.left(slash).toInt(&shardOk);
    shards = text.mid(slash + 1).toInt(&shardsOk);
    if (slash < 0 || !shardOk || !shardsOk || shards < 1 || shard < 0 || shard >= shards) {
        message = CRenderArguments::tr("--shard needs K/N with K from 0 to N-1, not \"%1\"")
                          .arg(text);
        return false;
    }
    return true;
}

} // namespace

bool CRenderArguments::Parse(const QStringList &arguments, QString &message)
{
    bool pageGiven = false;
    bool pagesGiven = false;
    bool dpiGiven = false;
    bool shardGiven = false;
    bool copiesGiven = false;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        // "--option=value" and "--option value" alike.
        QString option = argument;
        QString value;
        bool hasValue = false;
        if (argument.startsWith(u"--"_s)) {
            const qsizetype equals = argument.indexOf(u'=');
            if (equals > 0) {
                option = argument.left(equals);
                value = argument.mid(equals + 1);
                hasValue = true;
            }
        }
        if (option == u"--help"_s || option == u"-h"_s) {
            help = true;
            continue;
        }
        if (option == u"--version"_s || option == u"-v"_s) {
            version = true;
            continue;
        }
        if (option == u"--check"_s && !hasValue) {
            check = true;
            continue;
        }
        if (option == u"--pdfa"_s && !hasValue) {
            pdfa = true;
            continue;
        }
        if (option == u"--print"_s) {
            // The queue is optional: "--print=QUEUE", or the next argument unless it is an
            // option or the report.
            print = true;
            if (hasValue) {
                printQueue = value;
            } else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-')
                       && !arguments[i + 1].endsWith(u".vnt"_s, Qt::CaseInsensitive)) {
                printQueue = arguments[++i];
            }
            continue;
        }
        if (option == u"--skip-existing"_s && !hasValue) {
            skipExisting = true;
            continue;
        }
        const bool takesValue = option == u"-o"_s || option == u"--output"_s
                || option == u"--param"_s || option == u"--page"_s || option == u"--pages"_s
                || option == u"--dpi"_s || option == u"--each"_s || option == u"--each-file"_s
                || option == u"--shard"_s || option == u"--copies"_s
                || option == u"--skip-labels"_s;
        if (!takesValue) {
            if (argument.startsWith(u'-') && argument.size() > 1) {
                message = tr("Unknown option: %1").arg(argument);
                return false;
            }
            positional.append(argument);
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                message = tr("%1 needs a value").arg(option);
                return false;
            }
            value = arguments[++i];
        }
        if (option == u"-o"_s || option == u"--output"_s) {
            if (!output.isEmpty()) {
                message = tr("-o may be given once");
                return false;
            }
            output = value;
        } else if (option == u"--param"_s) {
            CRenderParameter parameter;
            if (!ParseParameter(value, parameter, message))
                return false;
            parameters.append(parameter);
        } else if (option == u"--page"_s) {
            if (!ParseNumber(option, value, 1, 1000000, page, message))
                return false;
            pageGiven = true;
        } else if (option == u"--each"_s || option == u"--each-file"_s) {
            if (IsBatch()) {
                message = tr("--each or --each-file may be given once");
                return false;
            }
            if (value.trimmed().isEmpty()) {
                message = tr("%1 needs a value").arg(option);
                return false;
            }
            (option == u"--each"_s ? eachQuery : eachFile) = value;
        } else if (option == u"--copies"_s) {
            if (!ParseNumber(option, value, 1, 999, copies, message))
                return false;
            copiesGiven = true;
        } else if (option == u"--shard"_s) {
            if (!ParseShard(value, shard, shards, message))
                return false;
            shardGiven = true;
        } else if (option == u"--pages"_s) {
            if (!ParsePages(value, page, lastPage, message))
                return false;
            pagesGiven = true;
        } else if (option == u"--skip-labels"_s) {
            if (!ParseNumber(option, value, 0, 10000, skipLabels, message))
                return false;
        } else if (!ParseNumber(option, value, 1, maxDpi, dpi, message)) {
            return false;
        } else {
            dpiGiven = true;
        }
    }
    if (help || version)
        return true;

    if (positional.size() != 1) {
        message = positional.isEmpty()
                ? tr("No report given")
                : tr("One report at a time, not %1").arg(positional.join(u' '));
        return false;
    }
    report = positional.constFirst();
    if ((shardGiven || skipExisting) && !IsBatch()) {
        message = tr("--shard and --skip-existing apply to --each and --each-file only");
        return false;
    }
    if (check && IsBatch()) {
        message = tr("--check takes no --each or --each-file");
        return false;
    }
    if (copiesGiven && !print) {
        message = tr("--copies applies to --print only");
        return false;
    }
    if (print) {
        // Printing writes no file: the options of a file would do nothing.
        if (check || !output.isEmpty() || pageGiven || dpiGiven || pdfa || skipExisting) {
            message = tr("--print takes no --check, -o, --page, --dpi, --pdfa or "
                         "--skip-existing; --pages chooses the pages");
            return false;
        }
        return true;
    }
    if (check) {
        // A check writes nothing: an output, pages, a resolution or PDF/A would do nothing.
        if (!output.isEmpty() || pageGiven || pagesGiven || dpiGiven || pdfa) {
            message = tr("--check takes no -o, --page, --pages, --dpi or --pdfa");
            return false;
        }
        return true;
    }
    if (output.isEmpty()) {
        message = tr("-o OUT is missing (a .pdf, .png, .svg, .html, .csv or .xlsx file)");
        return false;
    }
    if (!ExportFiles::FormatOf(output, format)) {
        message = tr("The output must end in .pdf, .png, .svg, .html, .csv or .xlsx: %1")
                          .arg(output);
        return false;
    }
    // An option that would silently do nothing is refused.
    const bool perPage = ExportFiles::IsPerPage(format);
    if (pdfa && format != ExportFormat::Pdf) {
        message = tr("--pdfa applies to PDF output only");
        return false;
    }
    if ((pageGiven || pagesGiven) && !perPage) {
        message = tr("--page and --pages apply to PNG and SVG output only");
        return false;
    }
    if (dpiGiven && format != ExportFormat::Png) {
        message = tr("--dpi applies to PNG output only");
        return false;
    }
    if (perPage && output.count(u"%d"_s) > 1) {
        message = tr("The output name may hold one %d for the page number, not more: %1")
                          .arg(output);
        return false;
    }
    const bool pattern = perPage && ExportFiles::HasPagePattern(output);
    if (pagesGiven && !pattern) {
        message = tr("--pages needs an output name with %d for the page number");
        return false;
    }
    if (pageGiven && pattern) {
        message = tr("--page names one page; with %d in the output name use --pages");
        return false;
    }
    if (pageGiven && pagesGiven) {
        message = tr("--page and --pages may not be given together");
        return false;
    }
    return true;
}

QString CRenderArguments::Usage()
{
    return tr("Usage: vantel-render REPORT.vnt -o OUT [--param BAND/NAME=VALUE]... [--pdfa]\n"
              "                     [--page N | --pages FIRST-LAST] [--dpi N] [--skip-labels N]\n"
              "       vantel-render --check REPORT.vnt [--param BAND/NAME=VALUE]...\n"
              "       vantel-render REPORT.vnt --each \"SELECT ...\" -o 'OUT-{COLUMN}.pdf'\n"
              "                     [--shard K/N] [--skip-existing] [options as above]\n"
              "       vantel-render REPORT.vnt --print [QUEUE] [--copies N] [--pages FIRST-LAST]\n"
              "\n"
              "Runs a report against its database and writes the result, in the format the\n"
              "output's suffix names:\n"
              "  -o OUT.pdf                every page as PDF\n"
              "  --pdfa                    PDF/A-1b for archives\n"
              "  -o OUT.png, -o OUT.svg    one page as an image or a drawing; with %d in the\n"
              "                            name (-o 'page-%d.png') every page, each in a file\n"
              "  --page N                  the page of a single PNG or SVG (default 1)\n"
              "  --pages FIRST-LAST        the pages of a PNG or SVG name with %d\n"
              "  --dpi N                   the resolution of the PNG (default 96)\n"
              "  --skip-labels N           N labels of the first sheet are used already: the\n"
              "                            first row prints in the next place\n"
              "  -o OUT.html               every page in one web page\n"
              "  -o OUT.csv, -o OUT.xlsx   the rows as printed, as CSV or as an Excel workbook\n"
              "  --param BAND/NAME=VALUE   the value of the query entry {NAME} of band BAND, in\n"
              "                            place of the value stored in the report (letter case\n"
              "                            of band and name ignored)\n"
              "  --check                   runs no report: connects to its database, prepares\n"
              "                            every query and prints each problem found as\n"
              "                            \"BAND/ITEM: message\" (exit 1), or OK (exit 0)\n"
              "  --each \"SELECT ...\"       runs the report once for each row of the query (on\n"
              "                            the report's database) and writes a file per row;\n"
              "                            {COLUMN} in the output name is the row's value, a\n"
              "                            column NAME or \"BAND/NAME\" binds the query entry\n"
              "                            {NAME} of every band or of that band; one JSON line\n"
              "                            per row on standard output, exit 1 if any failed\n"
              "  --each-file LIST.csv      the same with the rows of a CSV file whose first line\n"
              "                            names the columns\n"
              "  --shard K/N               only the rows whose position (from 0) modulo N is K\n"
              "  --skip-existing           skips the rows whose file is there already\n"
              "  --print [QUEUE]           prints through CUPS (the default queue when none is\n"
              "                            named, --print=QUEUE names one in any place) on the\n"
              "                            report's paper, instead of writing a file; with\n"
              "                            --each one job per row\n"
              "  --copies N                copies of each job (default 1)\n"
              "  --help, --version\n");
}
