#pragma once

#include "vornreport.h"

#include <QObject>

// The one door into the report: every change made by the design view, the
// property grid or the Run command goes through the document, which keeps the
// modified flag and tells the views. It owns the report for its whole life;
// New and Open reset and refill it, so pointers into the report stay valid only
// until reportReset is emitted.
//
// The file commands, the settings and the messages shown to the user belong to
// the application's document, which derives from this class.
class CVornDocument : public QObject
{
    Q_OBJECT

public:
    explicit CVornDocument(QObject *parent = nullptr);

    CVornReport &GetReport() { return m_report; }
    const CVornReport &GetReport() const { return m_report; }

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // The alignment grid: drawn as dots and used to snap positions.
    bool IsGridOn() const { return m_grid; }
    void SetGridOn(bool on);
    void ToggleGrid() { SetGridOn(!m_grid); }

    // Full path of the file last opened or saved; empty for an unsaved report.
    const QString &GetPathName() const { return m_pathName; }
    void SetPathName(const QString &path);

    // The file name shown in the caption, "Untitled" for an unsaved report.
    QString GetTitle() const;

    // An edit of the model was made (a view repaints what it changed itself):
    // marks the document modified and tells every listener through edited.
    void MarkEdited();

    // The model changed: marks the document modified and asks every view to
    // redraw everything.
    void ReportChanged();

    // The page size or orientation changed: views recompute their extent.
    void PageSizeChanged();

signals:
    void modifiedChanged(bool modified);
    void gridChanged(bool on);
    void pathNameChanged(const QString &path);
    // The model was edited: bands or items added, removed, renamed, moved or
    // resized. Emitted for every edit, reportChanged ones included.
    void edited();
    // Every view redraws the whole report.
    void reportChanged();
    // The page size or orientation changed.
    void pageSizeChanged();
    // The report was reset or replaced: every pointer into it is invalid.
    void reportReset();

protected:
    // Lets the application's document refill the report and tell the views.
    void NotifyReportReset();

private:
    CVornReport m_report;
    QString m_pathName;
    bool m_modified = false;
    bool m_grid = true;
};
