#pragma once

#include <QStringList>

#include <memory>

class CMainFrame;
class CQuarnDoc;
class CRecoveryManager;

// One running designer: the document, the main frame with its view and panes,
// and the crash recovery, made in start-up order and destroyed in reverse:
// the frame first (it holds pointers into the report), then the recovery
// (a normal end removes its files), then the document (which writes its grid
// setting). The application object owns one; tests make their own.
class CAppInstance
{
public:
    CAppInstance();
    ~CAppInstance();

    CAppInstance(const CAppInstance &) = delete;
    CAppInstance &operator=(const CAppInstance &) = delete;

    // Start-up: makes the document and the frame, offers back a report that a
    // session which did not end normally left behind, otherwise opens the
    // file named on the command line (the first of files) or starts a new
    // report; then starts the autosave and shows the frame. False when the
    // named file cannot be opened (after its message): the program ends.
    bool Start(const QStringList &files);

    CQuarnDoc *GetDocument() const { return m_document.get(); }
    CMainFrame *GetMainFrame() const { return m_frame.get(); }
    CRecoveryManager *GetRecovery() const { return m_recovery.get(); }

private:
    // Asks whether to restore an orphaned recovery file; true when restored.
    bool OfferRecovery();

    std::unique_ptr<CQuarnDoc> m_document;
    std::unique_ptr<CRecoveryManager> m_recovery;
    std::unique_ptr<CMainFrame> m_frame;
};
