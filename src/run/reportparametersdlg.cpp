#include "reportparametersdlg.h"

#include "dialogunits.h"
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QtMath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

enum Column { BandColumn, NameColumn, ValueColumn };

// The layout in dialog units: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its height.
constexpr QSize dialogSize(259, 159);
constexpr QRect introRect(7, 6, 246, 24);
constexpr QRect listRect(7, 30, 246, 78);
constexpr QRect valueLabelRect(6, 114, 78, 8);
constexpr QRect valueRect(90, 111, 162, 14);
constexpr QRect okRect(204, 126, 50, 14);
constexpr QRect cancelRect(204, 140, 50, 14);

// The value column keeps at least this width even when the band and name
// columns take more than the list.
constexpr int minimumValueWidth = 50;

} // namespace

CReportParametersDlg::CReportParametersDlg(QWidget *parent)
    : QDialog(parent)
    , m_list(nullptr)
    , m_value(nullptr)
{
    setWindowTitle(tr("Report Parameters"));

    // Created in tab order: the list first, so that it has the focus.
    auto *intro = new QLabel(tr("This dialog allows you to specify report parameters values "
                                "that will be used by Vantel when launching report"),
                             this);
    intro->setWordWrap(true);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"parameterList"_s);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Band"), tr("Name"), tr("Value")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setMinimumSectionSize(0);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto *valueLabel = new QLabel(tr("Parameter value:"), this);
    m_value = new QLineEdit(this);
    m_value->setObjectName(u"valueEdit"_s);
    valueLabel->setBuddy(m_value);

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(u"okButton"_s);
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(u"cancelButton"_s);

    const auto place = [this](QWidget *widget, const QRect &units) {
        widget->setGeometry(
                DialogUnitsToPixels(units.x(), units.y(), units.width(), units.height()));
    };
    place(intro, introRect);
    place(m_list, listRect);
    place(valueLabel, valueLabelRect);
    place(m_value, valueRect);
    place(ok, okRect);
    place(cancel, cancelRect);
    setFixedSize(DialogUnitsToPixels(0, 0, dialogSize.width(), dialogSize.height()).size());

    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            &CReportParametersDlg::ShowCurrentValue);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            &CReportParametersDlg::ShowCurrentValue);
    // Showing a row's value writes the same text back into that row, which
    // changes nothing.
    connect(m_value, &QLineEdit::textChanged, this, &CReportParametersDlg::StoreValue);
    connect(ok, &QPushButton::clicked, this, &CReportParametersDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CReportParametersDlg::reject);
}

int CReportParametersDlg::GetCurrentRow() const
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_list->topLevelItem(row)->isSelected())
            return row;
    }
    return m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
}

void CReportParametersDlg::accept()
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        m_parameters.SetParameter(item->text(BandColumn), item->text(NameColumn),
                                  item->text(ValueColumn));
    }
    QDialog::accept();
}

void CReportParametersDlg::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_filled) {
        m_filled = true;
        FillList();
    }
    QDialog::showEvent(event);
}

QRect CReportParametersDlg::DialogUnitsToPixels(int x, int y, int width, int height) const
{
    const QFontMetrics metrics(font());
    const CDialogUnits units(metrics.horizontalAdvance(CDialogUnits::SampleLetters()),
                             metrics.height());
    return units.ToPixels(x, y, width, height);
}

// The columns are sized from the names before any row exists, so the value
// column takes the rest of a list without scroll bars. A name's extent is
// measured as the cell draws it, with the margin the style keeps on either
// side of a cell's text, so that the widest name shows in full.
void CReportParametersDlg::FillList()
{
    m_list->ensurePolished();
    // Fractions of a pixel count: the cell elides a text that lacks even those.
    const QFontMetricsF metrics(m_list->font());
    const int textMargins
            = 2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1);
    int bandWidth = 0;
    int nameWidth = 0;
    for (const CVornParameter *parameter : m_parameters) {
        bandWidth = std::max(bandWidth,
                             qCeil(metrics.horizontalAdvance(parameter->GetBand())) + textMargins);
        nameWidth = std::max(nameWidth,
                             qCeil(metrics.horizontalAdvance(parameter->GetName())) + textMargins);
    }
    const int clientWidth = m_list->maximumViewportSize().width();
    m_list->header()->resizeSection(BandColumn, bandWidth);
    m_list->header()->resizeSection(NameColumn, nameWidth);
    m_list->header()->resizeSection(
            ValueColumn, std::max(minimumValueWidth, clientWidth - bandWidth - nameWidth - 3));

    m_list->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_parameters.GetCount());
    for (const CVornParameter *parameter : m_parameters) {
        auto *item = new QTreeWidgetItem(
                {parameter->GetBand(), parameter->GetName(), parameter->GetValue()});
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        rows.append(item);
    }
    m_list->addTopLevelItems(rows);

    m_list->clearSelection();
    if (!rows.isEmpty())
        m_list->setCurrentItem(rows.first());
    ShowCurrentValue();
}

void CReportParametersDlg::ShowCurrentValue()
{
    const int row = GetCurrentRow();
    m_value->setText(row < 0 ? QString() : m_list->topLevelItem(row)->text(ValueColumn));
}

void CReportParametersDlg::StoreValue(const QString &text)
{
    const int row = GetCurrentRow();
    if (row >= 0)
        m_list->topLevelItem(row)->setText(ValueColumn, text);
}
