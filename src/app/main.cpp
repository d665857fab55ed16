#include "commandline.h"
#include "quarnapp.h"

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
    return app.exec();
}
