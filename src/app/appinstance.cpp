#include "appinstance.h"

#include "mainframe.h"
#include "quarndoc.h"
#include "recoverymanager.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

CAppInstance::CAppInstance() = default;

CAppInstance::~CAppInstance()
{
    m_frame.reset();
    m_recovery.reset();
    m_document.reset();
}

bool CAppInstance::Start(const QStringList &files)
{
    m_document = std::make_unique<CQuarnDoc>();
    m_frame = std::make_unique<CMainFrame>(m_document.get());
    m_recovery = std::make_unique<CRecoveryManager>(m_document.get());

    // A restored report takes the place of the file named on the command line: that file is
    // still on disk, the restored work is not.
    if (!OfferRecovery()) {
        if (files.isEmpty())
            m_frame->DoFileNew();
        else if (!m_frame->OpenDocumentFile(files.constFirst()))
            return false;
    }
    m_recovery->Start();
    m_frame->show();
    return true;
}

bool CAppInstance::OfferRecovery()
{
    std::optional<CRecoveryManager::Orphan> orphan = CRecoveryManager::TakeOrphan();
    if (!orphan)
        return false;
    const QString name = orphan->originalPath.isEmpty()
            ? QCoreApplication::translate("Vantel", "Untitled")
            : QFileInfo(orphan->originalPath).fileName();
    const QString text
            = QCoreApplication::translate("Vantel",
                                          "Vantel did not close normally. A copy of the report "
                                          "\"%1\" was saved automatically at %2.\n\nDo you want to "
                                          "restore it?")
                      .arg(name, QLocale().toString(orphan->savedAt, QLocale::ShortFormat));
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("Vantel", "Vantel"), text,
                    QMessageBox::Yes | QMessageBox::No, m_frame.get());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    const bool restored = box.exec() == QMessageBox::Yes
            && m_frame->RestoreRecoveredReport(orphan->reportPath, orphan->originalPath);
    // The old copy goes only once the restored report is safe in this session's own.
    if (restored)
        m_recovery->Autosave();
    CRecoveryManager::DiscardOrphan(*orphan);
    return restored;
}
