#pragma once

#include "reportproblem.h"

#include <QDockWidget>

class CVornReport;
class QTreeWidget;
class QTreeWidgetItem;

// The "Problems" pane: every problem of the report as it stands, one row each with an icon
// (error or warning), the object's name and the message. The program works the problems out
// and hands them in after each change; the pane only shows them. A double-click (or Enter) on
// a row asks for its object and property row to be shown (problemChosen).
class CProblemsWnd : public QDockWidget
{
    Q_OBJECT

public:
    explicit CProblemsWnd(QWidget *parent = nullptr);

    // Shows the problems of report, named as the report names its objects now.
    void SetProblems(const CVornReport &report, const CReportProblems &problems);
    const CReportProblems &GetProblems() const { return m_problems; }
    QTreeWidget *GetList() const { return m_list; }

    // "2 errors, 1 warning"; "No problems" when there are none.
    static QString CountText(const CReportProblems &problems);

signals:
    // The user asked for the object of this problem.
    void problemChosen(const CReportProblem &problem);

private:
    void Choose(QTreeWidgetItem *row);

    QTreeWidget *m_list;
    CReportProblems m_problems;
    QStringList m_names; // the objects' names shown, to know when a rename changes a row
};
