#pragma once

#include <QApplication>

#include <memory>

class CMainFrame;
class CQuarnDoc;

// The application object: sets up the settings store, creates the one document
// and the main frame with its design view, and opens the file named on the
// command line. The document and the frame live until exit; the document is
// destroyed last, after the frame, and writes its grid setting then.
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

    CQuarnDoc *GetDocument() const { return m_document.get(); }
    CMainFrame *GetMainFrame() const { return m_frame.get(); }

    // Organisation and application name of the settings store, both "Vantel".
    static void SetIdentity();

private:
    std::unique_ptr<CQuarnDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
