#include "propertieswnd.h"

#include "propertiesctrl.h"
#include "propertyedit.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "propertypage.h"
#include "sharedpage.h"
#include "vorndocument.h"
#include "vornitems.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSplitter>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

CPropertiesWnd::CPropertiesWnd(QWidget *parent)
    : QDockWidget(tr("Properties"), parent)
    , m_grid(new CPropertiesCtrl)
    , m_descriptionName(new QLabel)
    , m_descriptionText(new QLabel)
{
    setObjectName(QStringLiteral("Properties"));

    auto *description = new QFrame;
    description->setObjectName(QStringLiteral("descriptionArea"));
    description->setFrameShape(QFrame::StyledPanel);
    description->setBackgroundRole(QPalette::Window);
    m_descriptionName->setObjectName(QStringLiteral("descriptionName"));
    QFont nameFont = m_descriptionName->font();
    nameFont.setBold(true);
    m_descriptionName->setFont(nameFont);
    m_descriptionName->setTextFormat(Qt::PlainText);
    m_descriptionText->setObjectName(QStringLiteral("descriptionText"));
    m_descriptionText->setTextFormat(Qt::PlainText);
    m_descriptionText->setWordWrap(true);
    m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *descriptionLayout = new QVBoxLayout(description);
    descriptionLayout->setContentsMargins(6, 4, 6, 4);
    descriptionLayout->setSpacing(2);
    descriptionLayout->addWidget(m_descriptionName);
    descriptionLayout->addWidget(m_descriptionText, 1);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("propertiesSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_grid);
    splitter->addWidget(description);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    const int lines = m_descriptionText->fontMetrics().lineSpacing();
    description->setMinimumHeight(lines * 2 + 12);
    splitter->setSizes({lines * 20, lines * 5 + 12});
    setWidget(splitter);
    // The pane hands the focus to the grid.
    setFocusProxy(m_grid);

    connect(m_grid, &CPropertiesCtrl::propertyChanged, this, &CPropertiesWnd::OnPropertyChanged);
    connect(m_grid, &CPropertiesCtrl::currentRowChanged, this, &CPropertiesWnd::ShowDescription);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &CPropertiesWnd::ShowContextMenu);
}

void CPropertiesWnd::ShowContextMenu(const QPoint &position)
{
    // Only the report page holds the database settings.
    if (!m_document || m_current || !m_connectionTester)
        return;
    QMenu menu(this);
    menu.addAction(tr("Test Connection"), this, &CPropertiesWnd::TestConnection);
    menu.exec(m_grid->viewport()->mapToGlobal(position));
}

bool CPropertiesWnd::TestConnection()
{
    if (!m_document || m_current || !m_connectionTester)
        return false;
    QString message;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool connected = m_connectionTester(m_document->GetReport(), message);
    QApplication::restoreOverrideCursor();
    QMessageBox box(connected ? QMessageBox::Information : QMessageBox::Warning,
                    tr("Test Connection"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return true;
}

void CPropertiesWnd::SetDocument(CVornDocument *document)
{
    if (m_document == document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_current = nullptr;
    m_objects.clear();
    ClearProperties();
    if (document) {
        connect(document, &CVornDocument::reportReset, this, &CPropertiesWnd::OnReportReset);
        // Save As gives the report another file: the report page shows it.
        connect(document, &CVornDocument::pathNameChanged, this, [this] {
            CPropertyGridProperty *row
                    = m_current || !m_document ? nullptr : m_grid->FindRow(RowId::FileName);
            if (row)
                row->SetValue(m_document->GetPathName());
        });
        // An undo or redo shows what it selected, with the values it brought back.
        connect(document, &CVornDocument::changed, this, [this](const CReportChange &change) {
            if (change.Has(CReportChange::Replay))
                ShowProperties(change.selected);
        });
        connect(document, &QObject::destroyed, this, [this] {
            m_current = nullptr;
            m_objects.clear();
            ClearProperties();
        });
    }
}

CVornDocument *CPropertiesWnd::GetDocument() const
{
    return m_document;
}

void CPropertiesWnd::ShowProperties(CVornElement *object)
{
    ShowPage(object, QString());
}

void CPropertiesWnd::ShowReportProperties(const QString &fileName)
{
    ShowPage(nullptr, fileName);
}

void CPropertiesWnd::ShowPage(CVornElement *object, const QString &fileName)
{
    if (!m_document) {
        m_current = nullptr;
        ClearProperties();
        return;
    }
    // An item selected with others stands for all of them.
    std::vector<CVornElement *> objects {object};
    if (object && !object->IsBandElement() && object->IsSelected()) {
        const std::vector<CVornElement *> selection = m_document->GetReport().GetSelection();
        if (selection.size() > 1
            && std::find(selection.begin(), selection.end(), object) != selection.end())
            objects = selection;
    }
    const std::optional<QList<CPropertyRow>> rows = objects.size() > 1
            ? BuildSharedPage(m_document->GetReport(), objects, ScreenDpiY())
            : BuildPage(m_document->GetReport(), object, fileName, m_document->GetPathName(),
                        ScreenDpiY());
    if (!rows)
        return;
    m_current = object;
    m_objects = object ? objects : std::vector<CVornElement *>();
    ClearProperties();
    QList<CPropertyRow> adapted = *rows;
    AdaptRows(adapted);
    m_grid->AddRows(adapted, ScreenDpiY(), this);
}

void CPropertiesWnd::AdaptRows(QList<CPropertyRow> &rows) const
{
    const bool dbItem = m_current
            && (m_current->GetKind() == VornKind::DbText
                || m_current->GetKind() == VornKind::DbImage
                || m_current->GetKind() == VornKind::DbBarcode);
    const bool sqlite = !m_current && m_document && m_document->GetReport().GetDatabaseType() == 0;
    const bool chart = m_current && m_current->GetKind() == VornKind::Chart;
    const auto offersColumns = [chart](const CPropertyRow &row) {
        if (!chart)
            return false;
        if (row.id == RowId::Category)
            return true;
        return std::any_of(std::begin(RowId::SeriesValue), std::end(RowId::SeriesValue),
                           [&row](QLatin1StringView id) { return row.id == id; });
    };
    for (CPropertyRow &row : rows) {
        // A chart's series are groups: their value rows are offered the columns too.
        for (CPropertyRow &sub : row.subRows) {
            if (offersColumns(sub)) {
                sub.kind = PropertyRowKind::Suggest;
                sub.options = m_columnSource ? m_columnSource(m_current) : QStringList();
            }
        }
        if ((dbItem && row.id == RowId::DataField) || offersColumns(row)) {
            row.kind = PropertyRowKind::Suggest;
            row.options = m_columnSource ? m_columnSource(m_current) : QStringList();
        } else if (sqlite && row.id == RowId::ConnectString) {
            row.kind = PropertyRowKind::Path;
        }
    }
}

void CPropertiesWnd::RefreshColumnChoices()
{
    CPropertyGridProperty *row = m_grid->FindRow(RowId::DataField);
    if (row && row->GetKind() == PropertyRowKind::Suggest && m_current && IsInReport(m_current))
        row->SetOptions(m_columnSource ? m_columnSource(m_current) : QStringList());
}

CSqlQueryRunner *CPropertiesWnd::MakeQueryRunner() const
{
    if (!m_runnerFactory || (m_current && !IsInReport(m_current)))
        return nullptr;
    return m_runnerFactory(m_current);
}

void CPropertiesWnd::PrepareExpressionDialog(CExpressionDlg &dialog) const
{
    if (m_expressionHelp && (!m_current || IsInReport(m_current)))
        m_expressionHelp(dialog, m_current);
}

void CPropertiesWnd::ClearProperties()
{
    m_grid->RemoveAll();
    ShowDescription(nullptr);
}

void CPropertiesWnd::FocusMainProperty()
{
    FocusProperty(MainPropertyId(m_current));
}

void CPropertiesWnd::FocusProperty(const QString &id)
{
    CPropertyGridProperty *row = nullptr;
    for (QTreeWidgetItemIterator it(m_grid); *it && !row && !id.isEmpty(); ++it) {
        if ((*it)->type() == CPropertyGridProperty::RowType
            && static_cast<CPropertyGridProperty *>(*it)->GetId() == id)
            row = static_cast<CPropertyGridProperty *>(*it);
    }
    if (!row)
        row = m_grid->FindRow(MainPropertyId(m_current));
    if (!row)
        return;
    m_grid->setCurrentItem(row, 0);
    m_grid->scrollToItem(row);
    m_grid->setFocus(Qt::OtherFocusReason);
}

int CPropertiesWnd::ScreenDpiY() const
{
    return m_grid->logicalDpiY();
}

void CPropertiesWnd::OnReportReset()
{
    // The object shown belonged to the old report.
    m_current = nullptr;
    m_objects.clear();
    ShowReportProperties();
}

bool CPropertiesWnd::IsInReport(const CVornElement *object) const
{
    for (const CVornBand *band : m_document->GetReport().GetBands()) {
        if (band == object)
            return true;
        for (const CVornItem *item : band->GetItems()) {
            if (item == object)
                return true;
        }
    }
    return false;
}

void CPropertiesWnd::OnPropertyChanged(CPropertyGridProperty *row)
{
    if (!m_document || !row)
        return;
    for (const CVornElement *object : m_objects) {
        if (!IsInReport(object))
            return;
    }

    // The views hear of the edit once its rows are up to date: a view may rebuild this pane.
    CChangeHold hold(*m_document);
    const CRowEdit edit = row->MakeEdit();
    const CEditResult result = m_objects.size() > 1
            ? ApplyEditStepToAll(*m_document, m_objects, edit, ScreenDpiY())
            : ApplyEditStep(*m_document, m_current, edit, ScreenDpiY());

    // The rows are brought up to date before a message box runs its own event
    // loop. A name row shows the name the object really has, so a refused or
    // empty band name goes back at once.
    if (m_current && !row->GetParentRow() && edit.id == RowId::Name)
        row->SetValue(m_current->GetName());
    // The "Text Color" row and the colour the font dialog offers both show the
    // colour the items have now, whichever of the two was edited last.
    if (result.changed && m_current
        && (row->GetKind() == PropertyRowKind::Font || edit.id == RowId::TextColor)) {
        if (const auto *item = dynamic_cast<const CVornItem *>(m_current)) {
            if (CPropertyGridProperty *colorRow = m_grid->FindRow(RowId::TextColor))
                colorRow->SetColor(item->GetColor());
            if (CPropertyGridProperty *fontRow = m_grid->FindRow(RowId::Font)) {
                CPropertyFont font = fontRow->GetFont();
                font.color = item->GetColor();
                fontRow->SetFont(font);
            }
        }
    }

    if (!result.message.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, tr("Vantel"), result.message, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    hold.Release();
    // The connection string's file button comes and goes with SQLite.
    if (result.changed && m_document && !m_current && edit.id == RowId::DatabaseType)
        ShowReportProperties();
}

void CPropertiesWnd::ShowDescription(CPropertyGridProperty *row)
{
    m_descriptionName->setText(row ? row->GetName() : QString());
    m_descriptionText->setText(row ? row->GetDescription() : QString());
}
