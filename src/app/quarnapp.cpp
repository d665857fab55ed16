#include "quarnapp.h"

#include "appinstance.h"
#include "backgroundtask.h"
#include "commandicons.h"
#include "dataconnection.h"
#include "versiontext.h"

CQuarnApp::CQuarnApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetIdentity();
    setWindowIcon(CommandIcons::AppIcon());
    // Lets the desktop match the windows with the installed vantel-designer.desktop.
    setDesktopFileName(QStringLiteral("vantel-designer"));
}

CQuarnApp::~CQuarnApp()
{
    FinishWork();
}

bool CQuarnApp::FinishWork()
{
    m_instance.reset();
    // The windows are gone and have cancelled their work; a worker still waiting on a database
    // gets a little time to end before the drivers are unloaded with the application.
    return CBackgroundTask::WaitForAll(3000) && !DataOpensInFlight();
}

void CQuarnApp::SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationVersion(VersionText());
}

bool CQuarnApp::InitInstance(const QStringList &files)
{
    m_instance = std::make_unique<CAppInstance>();
    return m_instance->Start(files);
}

CQuarnDoc *CQuarnApp::GetDocument() const
{
    return m_instance ? m_instance->GetDocument() : nullptr;
}

CMainFrame *CQuarnApp::GetMainFrame() const
{
    return m_instance ? m_instance->GetMainFrame() : nullptr;
}
