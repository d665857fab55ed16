#include "commandline.h"
#include "firstpaintprobe.h"
#include "mainframe.h"
#include "quarnapp.h"
#include "quarnview.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    // Writing past the file-size limit must fail the save, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    // The arguments are judged before anything of the toolkit starts, so that
    // a wrong command line never opens a window or needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const CCommandLine line = CCommandLine::Parse(arguments);
    if (line.GetMode() == CCommandLine::Mode::UsageError)
        return line.ReportUsageError();
    if (line.IsBatch())
        return line.RunBatch(argc, argv);

    CQuarnApp app(argc, argv);
    if (!app.InitInstance(line.GetFiles()))
        return 1;
    if (qEnvironmentVariableIsSet("VANTEL_FIRST_PAINT_PROBE"))
        new CFirstPaintProbe(app.GetMainFrame()->GetView()->viewport());
    const int code = app.exec();
    if (!app.FinishWork()) {
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    return code;
}
