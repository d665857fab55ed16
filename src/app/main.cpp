#include "commandline.h"
#include "firstpaintprobe.h"
#include "mainframe.h"
#include "quarnapp.h"
#include "quarnview.h"

#include <csignal>

int main(int argc, char **argv)
{
    // Writing past the file-size limit must fail the save, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);

    if (IsBatchCommand(argc, argv))
        return RunBatchCommand(argc, argv);

    CQuarnApp app(argc, argv);
    QStringList files = QCoreApplication::arguments();
    files.removeFirst();
    if (!app.InitInstance(files))
        return 1;
    if (qEnvironmentVariableIsSet("VANTEL_FIRST_PAINT_PROBE"))
        new CFirstPaintProbe(app.GetMainFrame()->GetView()->viewport());
    return app.exec();
}
