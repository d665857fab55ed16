#include "problemswnd.h"

#include "vornreport.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeWidget>

namespace {

constexpr int IndexRole = Qt::UserRole + 1;

// The object's name as the report has it now: "Band/Item", the band's name, or the report.
QString ObjectName(const CVornReport &report, const CReportProblem &problem)
{
    const auto &bands = report.GetBands();
    if (problem.band < 0 || problem.band >= bands.GetCount())
        return QCoreApplication::translate("CProblemsWnd", "Report");
    const CVornBand &band = *bands[problem.band];
    if (problem.item < 0 || problem.item >= band.GetItems().GetCount())
        return band.GetName();
    return band.GetName() + u'/' + band.GetItems()[problem.item]->GetName();
}

// Enter on a row does what a double-click does.
class CProblemList : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(QTreeWidgetItem *)> chosen;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
            chosen(currentItem());
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
};

} // namespace

CProblemsWnd::CProblemsWnd(QWidget *parent)
    : QDockWidget(tr("Problems"), parent)
{
    setObjectName(QStringLiteral("Problems"));
    auto *list = new CProblemList;
    list->chosen = [this](QTreeWidgetItem *row) {
        Choose(row);
    };
    m_list = list;
    m_list->setObjectName(QStringLiteral("ProblemList"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Object"), tr("Message")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setWordWrap(false);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setWidget(m_list);
    setFocusProxy(m_list);
    connect(m_list, &QTreeWidget::itemActivated, this, &CProblemsWnd::Choose);
}

void CProblemsWnd::SetProblems(const CVornReport &report, const CReportProblems &problems)
{
    QStringList names;
    names.reserve(problems.size());
    for (const CReportProblem &problem : problems)
        names.append(ObjectName(report, problem));
    if (problems == m_problems && names == m_names)
        return;
    const int current
            = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    m_problems = problems;
    m_names = names;

    m_list->setUpdatesEnabled(false);
    m_list->clear();
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        const CReportProblem &problem = problems.at(i);
        auto *row = new QTreeWidgetItem({names.at(i), problem.message});
        const bool isError = problem.severity == CReportProblem::Severity::Error;
        row->setIcon(0, isError ? error : warning);
        row->setToolTip(0, isError ? tr("Error") : tr("Warning"));
        row->setToolTip(1, problem.message);
        row->setData(0, IndexRole, int(i));
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
    if (current >= 0 && m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(
                m_list->topLevelItem(std::min(current, m_list->topLevelItemCount() - 1)));
    m_list->setUpdatesEnabled(true);
}

QString CProblemsWnd::CountText(const CReportProblems &problems)
{
    int errors = 0;
    for (const CReportProblem &problem : problems)
        errors += problem.severity == CReportProblem::Severity::Error;
    const int warnings = int(problems.size()) - errors;
    if (errors == 0 && warnings == 0)
        return tr("No problems");
    const QString errorText = errors == 1 ? tr("1 error") : tr("%1 errors").arg(errors);
    const QString warningText = warnings == 1 ? tr("1 warning") : tr("%1 warnings").arg(warnings);
    if (warnings == 0)
        return errorText;
    if (errors == 0)
        return warningText;
    return errorText + QStringLiteral(", ") + warningText;
}

void CProblemsWnd::Choose(QTreeWidgetItem *row)
{
    const int index = row ? row->data(0, IndexRole).toInt() : -1;
    if (index >= 0 && index < m_problems.size())
        emit problemChosen(m_problems.at(index));
}
