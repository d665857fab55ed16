#include "datapane.h"

#include "columnlookup.h"
#include "fieldplacement.h"
#include "schemareader.h"
#include "schematree.h"
#include "vorndocument.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(CDataPaneRow)

CDataTree::CDataTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("dataTree"));
    setColumnCount(2);
    setHeaderLabels({tr("Name"), tr("Type")});
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &CDataTree::CopyReference);
}

void CDataTree::SetRows(const QList<CDataPaneRow> &rows)
{
    // The bands the user folded stay folded.
    QSet<QString> folded;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = topLevelItem(i);
        if (!item->isExpanded() && item->childCount() > 0)
            folded.insert(item->text(0));
    }
    clear();
    QList<QTreeWidgetItem *> parents;
    for (const CDataPaneRow &row : rows) {
        parents.resize(row.depth);
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(this)
                                       : new QTreeWidgetItem(parents.constLast());
        item->setText(0, row.text);
        item->setText(1, row.detail);
        item->setToolTip(0, row.text);
        item->setData(0, RowRole, QVariant::fromValue(row));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!row.field.isEmpty())
            flags |= Qt::ItemIsDragEnabled;
        item->setFlags(flags);
        if (row.problem)
            item->setForeground(0, QColor(200, 0, 0));
        else if (row.kind == CDataPaneRow::Kind::Note)
            item->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
        if (row.kind == CDataPaneRow::Kind::Band || row.kind == CDataPaneRow::Kind::Connection) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        parents.append(item);
        // The connection and the notes have no type: their text may take the whole width.
        if (row.detail.isEmpty())
            item->setFirstColumnSpanned(true);
    }
    expandAll();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (folded.contains(topLevelItem(i)->text(0)))
            topLevelItem(i)->setExpanded(false);
    }
    FitNameColumn();
}

void CDataTree::FitNameColumn()
{
    resizeColumnToContents(0);
    // A long name leaves room for the type beside it in a narrow pane.
    const int room = viewport()->width() * 3 / 5;
    if (room > 0 && header()->sectionSize(0) > room)
        header()->resizeSection(0, room);
}

void CDataTree::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    FitNameColumn();
}

CDataPaneRow CDataTree::RowOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, RowRole).value<CDataPaneRow>() : CDataPaneRow();
}

QStringList CDataTree::mimeTypes() const
{
    return {QString::fromLatin1(FieldChoice::MimeType)};
}

QMimeData *CDataTree::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    // In the order shown, which is the query's order within a band.
    QList<QTreeWidgetItem *> ordered = items;
    std::sort(ordered.begin(), ordered.end(), [this](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return visualItemRect(a).top() < visualItemRect(b).top();
    });
    QList<CFieldChoice> fields;
    QStringList references;
    for (const QTreeWidgetItem *item : std::as_const(ordered)) {
        const CDataPaneRow row = RowOf(item);
        if (row.field.isEmpty())
            continue;
        CFieldChoice field;
        field.dataSource = row.band;
        field.dataField = row.field;
        field.binary = row.binary;
        fields.append(field);
        references.append(ColumnReference(row));
    }
    if (fields.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(FieldChoice::MimeType), FieldChoice::Encode(fields));
    // Dropped into a text, the fields read as their references.
    data->setText(references.join(QLatin1Char(' ')));
    return data;
}

void CDataTree::CopyReference(QTreeWidgetItem *item)
{
    const QString reference = ColumnReference(RowOf(item));
    if (!reference.isEmpty())
        QApplication::clipboard()->setText(reference);
}

CDataPane::CDataPane(QWidget *parent)
    : QDockWidget(tr("Data"), parent)
    , m_schemaTree(new CSchemaTree)
    , m_filter(new QLineEdit)
    , m_tree(new CDataTree)
    , m_refresh(new QToolButton)
{
    setObjectName(QStringLiteral("Data"));
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_refresh->setText(tr("Refresh"));
    m_refresh->setToolTip(tr("Read the database's tables and the columns of every query again"));
    m_refresh->setAutoRaise(true);
    m_refresh->setEnabled(false);
    m_filter->setObjectName(QStringLiteral("schemaFilter"));
    m_filter->setPlaceholderText(tr("Filter tables and columns"));
    m_filter->setAccessibleName(tr("Filter tables and columns"));
    m_filter->setClearButtonEnabled(true);
    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(2);
    top->addWidget(m_filter, 1);
    top->addWidget(m_refresh);
    auto *schema = new QWidget;
    auto *schemaLayout = new QVBoxLayout(schema);
    schemaLayout->setContentsMargins(0, 0, 0, 0);
    schemaLayout->setSpacing(1);
    schemaLayout->addLayout(top);
    schemaLayout->addWidget(m_schemaTree, 1);
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("dataSplitter"));
    splitter->addWidget(schema);
    splitter->addWidget(m_tree);
    splitter->setChildrenCollapsible(false);
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(splitter, 1);
    setWidget(body);
    setFocusProxy(m_filter);
    connect(m_filter, &QLineEdit::textChanged, this, &CDataPane::RebuildSchema);
    // A pane tabbed behind another one stays shown, off the screen; this tells it apart.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        m_inFront = visible;
        if (visible && m_stale) {
            Rebuild();
            RebuildSchema();
        }
    });
    connect(m_refresh, &QToolButton::clicked, this, [this] {
        if (m_lookup)
            m_lookup->Refresh();
        if (m_reader)
            m_reader->Refresh();
    });
}

void CDataPane::SetLookup(CColumnLookup *lookup)
{
    if (m_lookup)
        disconnect(m_lookup, nullptr, this, nullptr);
    m_lookup = lookup;
    m_refresh->setEnabled(lookup != nullptr);
    if (lookup) {
        // Renamed bands and new or removed queries show at once, with the columns known.
        connect(lookup, &CColumnLookup::updated, this, &CDataPane::Rebuild);
    }
    Rebuild();
}

void CDataPane::Rebuild()
{
    // Tabbed behind another pane or closed in a shown window, the pane is filled when the user
    // brings it forward; docked in a window not shown yet, when that window shows it.
    const QWidget *top = window();
    m_stale = top->isVisible() ? !m_inFront : top != this;
    if (m_stale)
        return;
    if (!m_lookup || !m_lookup->GetDocument()) {
        m_tree->clear();
        return;
    }
    m_tree->SetRows(DataPaneRows(m_lookup->GetDocument()->GetReport(), m_lookup->GetColumns(),
                                 m_lookup->IsRunning(), m_lookup->GetTimeout()));
}

void CDataPane::SetSchemaReader(CSchemaReader *reader)
{
    if (m_reader)
        disconnect(m_reader, nullptr, this, nullptr);
    m_reader = reader;
    if (reader)
        connect(reader, &CSchemaReader::catalogueChanged, this, &CDataPane::RebuildSchema);
    RebuildSchema();
}

void CDataPane::RebuildSchema()
{
    const QWidget *top = window();
    if (top->isVisible() ? !m_inFront : top != this) {
        m_stale = true;
        return;
    }
    if (!m_reader || !m_reader->GetDocument()) {
        m_schemaTree->clear();
        return;
    }
    m_schemaTree->SetRows(SchemaRows(m_reader->GetCatalogue(), m_filter->text(),
                                     m_reader->GetError(), m_reader->IsRunning(),
                                     m_reader->HasDatabase()));
}
