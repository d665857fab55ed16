#include "quarnapp.h"

#include "mainframe.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "versiontext.h"

CQuarnApp::CQuarnApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetIdentity();
}

CQuarnApp::~CQuarnApp()
{
    // The frame holds pointers into the document's report: it goes first.
    m_frame.reset();
    m_document.reset();
}

void CQuarnApp::SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationName(QStringLiteral("Vantel"));
    QCoreApplication::setApplicationVersion(VersionText());
}

bool CQuarnApp::InitInstance(const QStringList &files)
{
    m_document = std::make_unique<CQuarnDoc>();
    m_frame = std::make_unique<CMainFrame>(m_document.get());
    if (files.isEmpty()) {
        m_frame->DoFileNew();
    } else if (!m_frame->OpenDocumentFile(files.constFirst())) {
        return false;
    }
    m_frame->show();
    return true;
}
