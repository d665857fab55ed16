#pragma once

#include <QApplication>

#include <memory>

class CAppInstance;
class CMainFrame;
class CQuarnDoc;

// The application object: names the settings store ("Vantel"/"Vantel"), gives
// every window the designer's icon, and runs one CAppInstance, which holds
// the document and the main frame until exit.
class CQuarnApp : public QApplication
{
    Q_OBJECT

public:
    CQuarnApp(int &argc, char **argv);
    ~CQuarnApp() override;

    // Start-up. files holds the file named on the command line, if any. False
    // when start-up failed (a file that cannot be opened, after its message),
    // and the program ends.
    bool InitInstance(const QStringList &files);
    // Closes the windows, which cancel their work, and gives a worker still waiting on a
    // database a little time to end. False when one is still in a database driver (or an
    // open of a database never answered): the program must then leave with _exit, without
    // unloading the driver under it.
    bool FinishWork();

    CQuarnDoc *GetDocument() const;
    CMainFrame *GetMainFrame() const;

    // Organisation and application name of the settings store, both "Vantel".
    static void SetIdentity();

private:
    std::unique_ptr<CAppInstance> m_instance;
};
