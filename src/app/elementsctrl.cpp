#include "elementsctrl.h"

#include "elementsdelegate.h"
#include "elementsicons.h"
#include "fieldplacement.h"
#include "itemkinds.h"
#include "vornkind.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>

const QPixmap &CElementsCtrl::GetIconStrip() const
{
    const QRgb background = palette().color(QPalette::Base).rgb();
    if (background != m_iconBackground) {
        m_iconStrip = ElementsIcons::Strip(background);
        m_iconBackground = background;
    }
    return m_iconStrip;
}

CElementsCtrl::CElementsCtrl(QWidget *parent)
    : QTreeWidget(parent)
    , m_iconStrip(ElementsIcons::Strip())
{
    setColumnCount(1);
    setHeaderLabels({tr("Select an item to insert:")});
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(false);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // The delegate draws the focused row's frame; the tree's own would cover the whole row.
    setAllColumnsShowFocus(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new CElementsDelegate(this));
    AddRows();
}

void CElementsCtrl::AddRows()
{
    struct Row
    {
        QString text;
        int kind;
    };
    const Row rows[] = {
            {tr("Pointer"), VornKind::None},
            {tr("Page Header"), VornKind::PageHeader},
            {tr("Report Header"), VornKind::ReportHeader},
            {tr("Contents"), VornKind::ReportContents},
            {tr("Report Footer"), VornKind::ReportFooter},
            {tr("Page Footer"), VornKind::PageFooter},
    };
    // Ready-made DB Texts of the page number after the item kinds, and the Page Break last, so
    // that the rows above keep their places.
    const Row after[] = {
            {tr("Page Number"), FieldChoice::PageNumberEntry},
            {tr("Page N of M"), FieldChoice::PageNofMEntry},
            {tr("Page Break"), VornKind::PageBreak},
    };
    std::vector<Row> all(std::begin(rows), std::end(rows));
    for (const CItemKind &kind : ItemKinds())
        all.push_back({QCoreApplication::translate("Vantel", kind.look.elementsEntry), kind.code});
    all.insert(all.end(), std::begin(after), std::end(after));
    for (const Row &row : all) {
        auto *item = new QTreeWidgetItem(this, {row.text});
        item->setData(0, KindRole, row.kind);
        const bool pageEntry = !FieldChoice::ForElementsEntry(row.kind).isEmpty();
        item->setData(0, IconRole,
                      ElementsIcons::IndexForKind(pageEntry ? int(VornKind::DbText) : row.kind));
        item->setToolTip(0, row.text);
    }
}

int CElementsCtrl::KindOf(const QTreeWidgetItem *row)
{
    return row ? row->data(0, KindRole).toInt() : -1;
}

void CElementsCtrl::SelectKind(int kind)
{
    if (kind != m_lockedKind) {
        m_lockedKind = -1;
        viewport()->update();
    }
    bool focused = false;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = topLevelItem(i);
        const bool match = KindOf(row) == kind;
        if (match && !focused) {
            setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
            focused = true;
        }
        row->setSelected(match);
    }
}

void CElementsCtrl::mousePressEvent(QMouseEvent *event)
{
    // The list selects the row under the mouse first; the choice is then the selected row, or
    // the focused one when nothing is selected.
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QList<QTreeWidgetItem *> selected = selectedItems();
    const QTreeWidgetItem *row = selected.isEmpty() ? currentItem() : selected.constFirst();
    if (!row)
        return;
    // A single click chooses for one insertion only.
    if (m_lockedKind >= 0) {
        m_lockedKind = -1;
        viewport()->update();
    }
    emit insertKindChosen(KindOf(row));
}

void CElementsCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The press before the double click has chosen the row already.
    const int kind = KindOf(itemAt(event->position().toPoint()));
    if (kind <= 0)
        return;
    m_lockedKind = kind;
    viewport()->update();
    emit insertKindLocked(kind);
}
