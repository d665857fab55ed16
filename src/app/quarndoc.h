#pragma once

#include "vorndocument.h"

struct CLabelSheet;

// The application's one document: the report being designed with the file
// commands that reset, read and write it, and the grid setting it keeps in the
// user's settings ("Quarn Settings"/"Draw Grid", read when the document is
// created and written when it is destroyed at exit). The prompts and message
// boxes belong to the main frame; these operations report a message instead.
class CQuarnDoc : public CVornDocument
{
    Q_OBJECT

public:
    explicit CQuarnDoc(QObject *parent = nullptr);
    ~CQuarnDoc() override;

    // A new untitled report. The title and the connection string of the report
    // that was open stay, as resetting a report keeps them.
    bool OnNewDocument();
    // A new untitled report of the sheet's labels (CLabelSheet::MakeReport), not yet saved.
    void OnNewLabelDocument(const CLabelSheet &sheet);

    // Reads the file into a fresh report and puts it in place only when it was
    // read in full: after a failure the document still holds the report it held
    // before, so a later Save cannot write a half-read report. A report read in
    // full that fails validation is opened all the same, so that the user can
    // mend it; message then holds the validation message (empty otherwise).
    bool OnOpenDocument(const QString &path, QString &message);

    // Writes the report to the file; an SQLite database named by its full path
    // is stored relative to the file's folder from then on. On failure the
    // report, the path and the modified flag stay as they were.
    bool OnSaveDocument(const QString &path, QString &message);

    // The settings key of the grid flag.
    static QString GridSettingKey();
};
