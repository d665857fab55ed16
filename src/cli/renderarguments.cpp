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

bool CRenderArguments::Parse(const QStringList &arguments, QString &message)
{
    bool pageGiven = false;
    bool dpiGiven = false;
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
        const bool takesValue = option == u"-o"_s || option == u"--output"_s
                || option == u"--param"_s || option == u"--page"_s || option == u"--dpi"_s;
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
        } else if (!ParseNumber(option, value, 1, maxDpi, dpi, message)) {
            return false;
        } else {
            dpiGiven = true;
        }
    }
    if (help || version)
        return true;

    if (positional.size() != 1) {
        message = positional.isEmpty() ? tr("No report given")
                                       : tr("One report at a time, not %1").arg(positional.join(u' '));
        return false;
    }
    report = positional.constFirst();
    if (check) {
        // A check writes nothing: an output, a page or a resolution would do nothing.
        if (!output.isEmpty() || pageGiven || dpiGiven) {
            message = tr("--check takes no -o, --page or --dpi");
            return false;
        }
        return true;
    }
    if (output.isEmpty()) {
        message = tr("-o OUT is missing (a .pdf or .png file)");
        return false;
    }
    if (output.endsWith(u".pdf"_s, Qt::CaseInsensitive)) {
        format = Format::Pdf;
        // A page or a resolution that would silently do nothing is refused.
        if (pageGiven || dpiGiven) {
            message = tr("--page and --dpi apply to PNG output only");
            return false;
        }
    } else if (output.endsWith(u".png"_s, Qt::CaseInsensitive)) {
        format = Format::Png;
    } else {
        message = tr("The output must end in .pdf or .png: %1").arg(output);
        return false;
    }
    return true;
}

QString CRenderArguments::Usage()
{
    return tr("Usage: vantel-render REPORT.vnt -o OUT [--param BAND/NAME=VALUE]... [--page N] "
              "[--dpi N]\n"
              "       vantel-render --check REPORT.vnt [--param BAND/NAME=VALUE]...\n"
              "\n"
              "Runs a report against its database and writes the result:\n"
              "  -o OUT.pdf                every page as PDF\n"
              "  -o OUT.png                one page as an image\n"
              "  --page N                  the page of the PNG (default 1)\n"
              "  --dpi N                   the resolution of the PNG (default 96)\n"
              "  --param BAND/NAME=VALUE   the value of the query entry {NAME} of band BAND, in\n"
              "                            place of the value stored in the report (letter case\n"
              "                            of band and name ignored)\n"
              "  --check                   runs no report: connects to its database, prepares\n"
              "                            every query and prints each problem found as\n"
              "                            \"BAND/ITEM: message\" (exit 1), or OK (exit 0)\n"
              "  --help, --version\n");
}
