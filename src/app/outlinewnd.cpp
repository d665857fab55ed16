#include "outlinewnd.h"

#include "elementsicons.h"
#include "outlinectrl.h"
#include "vorndocument.h"
#include "vornkind.h"

#include <QEvent>
#include <QFont>
#include <QPalette>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

constexpr int ElementRole = Qt::UserRole + 1;

} // namespace

COutlineWnd::COutlineWnd(QWidget *parent)
    : QDockWidget(tr("Outline"), parent)
    , m_ctrl(new COutlineCtrl)
{
    setObjectName(QStringLiteral("Outline"));
    setWidget(m_ctrl);
    setFocusProxy(m_ctrl);
    connect(m_ctrl, &QTreeWidget::currentItemChanged, this, &COutlineWnd::OnCurrentRowChanged);
    connect(m_ctrl, &COutlineCtrl::viewKeyPressed, this, &COutlineWnd::viewKeyPressed);
    // A band opened to show its selected item counts as opened by the user.
    connect(m_ctrl, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *row) { m_collapsed.insert(ElementOf(row)); });
    connect(m_ctrl, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *row) { m_collapsed.remove(ElementOf(row)); });
}

void COutlineWnd::SetDocument(CVornDocument *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (m_document) {
        connect(m_document, &CVornDocument::changed, this, &COutlineWnd::Refresh);
        connect(m_document, &CVornDocument::reportReset, this, &COutlineWnd::OnReportReset);
    }
    OnReportReset();
}

CVornElement *COutlineWnd::ElementOf(const QTreeWidgetItem *row)
{
    return row ? static_cast<CVornElement *>(row->data(0, ElementRole).value<void *>()) : nullptr;
}

void COutlineWnd::OnReportReset()
{
    // Every pointer into the old report is gone, even where a new object has the same address.
    m_collapsed.clear();
    m_rows.clear();
    Rebuild();
}

void COutlineWnd::Refresh()
{
    std::vector<COutlineRow> rows;
    if (m_document)
        rows = ReportOutline::Build(m_document->GetReport());
    if (rows == m_rows)
        return;
    const bool sameShape = ReportOutline::SameShape(rows, m_rows);
    m_rows = std::move(rows);
    if (sameShape)
        UpdateTexts();
    else
        Rebuild();
    SyncSelection();
}

void COutlineWnd::Rebuild()
{
    QScopedValueRollback<bool> guard(m_updating, true);
    if (m_document && m_rows.empty())
        m_rows = ReportOutline::Build(m_document->GetReport());
    // The pictures readable on the tree's background, dark looks included.
    m_icons = ElementsIcons::Strip(m_ctrl->palette().color(QPalette::Base).rgb());
    m_ctrl->clear();
    QList<QTreeWidgetItem *> bands;
    bands.reserve(qsizetype(m_rows.size()));
    for (const COutlineRow &band : m_rows) {
        auto *row = new QTreeWidgetItem;
        SetRow(row, band);
        for (const COutlineRow &item : band.children) {
            auto *child = new QTreeWidgetItem(row);
            SetRow(child, item);
        }
        bands.append(row);
    }
    m_ctrl->addTopLevelItems(bands);
    for (QTreeWidgetItem *row : std::as_const(bands))
        row->setExpanded(!m_collapsed.contains(ElementOf(row)));
    SyncSelection();
}

void COutlineWnd::UpdateTexts()
{
    QScopedValueRollback<bool> guard(m_updating, true);
    for (int i = 0; i < m_ctrl->topLevelItemCount() && size_t(i) < m_rows.size(); ++i) {
        QTreeWidgetItem *band = m_ctrl->topLevelItem(i);
        const COutlineRow &data = m_rows[size_t(i)];
        SetRow(band, data);
        for (int j = 0; j < band->childCount() && size_t(j) < data.children.size(); ++j)
            SetRow(band->child(j), data.children[size_t(j)]);
    }
}

void COutlineWnd::SetRow(QTreeWidgetItem *row, const COutlineRow &data) const
{
    const QString mark = ReportOutline::HiddenMark(data.hidden);
    const QString name = data.name.isEmpty() ? tr("(no name)") : data.name;
    row->setText(0, mark.isEmpty() ? name : name + u' ' + mark);
    row->setData(0, ElementRole, QVariant::fromValue(static_cast<void *>(data.element)));
    row->setIcon(0, ElementsIcons::IconForKind(m_icons, data.kind));
    const QString reason = ReportOutline::HiddenReason(data.hidden);
    row->setToolTip(0,
                    reason.isEmpty() ? KindName(data.kind) : KindName(data.kind) + u'\n' + reason);
    QFont font = row->font(0);
    font.setItalic(!mark.isEmpty());
    row->setFont(0, font);
    row->setForeground(
            0,
            m_ctrl->palette().brush(mark.isEmpty() ? QPalette::Active : QPalette::Disabled,
                                    QPalette::Text));
}

void COutlineWnd::SyncSelection()
{
    QScopedValueRollback<bool> guard(m_updating, true);
    const CVornElement *selected
            = m_document ? m_document->GetReport().FindFirstSelected() : nullptr;
    QTreeWidgetItem *target = nullptr;
    for (int i = 0; i < m_ctrl->topLevelItemCount() && !target && selected; ++i) {
        QTreeWidgetItem *band = m_ctrl->topLevelItem(i);
        if (ElementOf(band) == selected)
            target = band;
        for (int j = 0; j < band->childCount() && !target; ++j) {
            if (ElementOf(band->child(j)) == selected)
                target = band->child(j);
        }
    }
    if (target) {
        m_ctrl->setCurrentItem(target);
        m_ctrl->scrollToItem(target);
    } else {
        m_ctrl->clearSelection();
        m_ctrl->setCurrentItem(nullptr);
    }
}

void COutlineWnd::changeEvent(QEvent *event)
{
    QDockWidget::changeEvent(event);
    // The rows' colours are taken from the tree, which may learn of a new look only after the
    // pane: they are made again once every widget has it.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        QTimer::singleShot(0, this, [this] { Rebuild(); });
}

void COutlineWnd::OnCurrentRowChanged()
{
    if (m_updating)
        return;
    if (CVornElement *element = ElementOf(m_ctrl->currentItem()))
        emit elementChosen(element);
}
