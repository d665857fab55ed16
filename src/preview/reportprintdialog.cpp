#include "reportprintdialog.h"

#include <QChildEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPrinter>
#include <QRadioButton>

using namespace Qt::StringLiterals;

CReportPrintDialog::CReportPrintDialog(QPrinter *printer, const QPageLayout &paper, QWidget *parent)
    : QPrintDialog(printer, parent)
    , m_paper(paper)
{ }

int CReportPrintDialog::exec()
{
    const int result = QPrintDialog::exec();
    if (result == QDialog::Accepted && !m_paperShown) {
        // Print wrote the printer's default paper, which the user never saw.
        QPrinter *target = printer();
        const QPageLayout::Mode mode = target->pageLayout().mode();
        target->setPageLayout(m_paper);
        target->setFullPage(mode == QPageLayout::FullPageMode);
    }
    return result;
}

void CReportPrintDialog::childEvent(QChildEvent *event)
{
    // The Properties part is a dialog made as a child of this one when it is first needed.
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    QPrintDialog::childEvent(event);
}

bool CReportPrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && !m_paperShown) {
        if (auto *properties = qobject_cast<QDialog *>(watched)) {
            m_paperShown = true;
            ChoosePaper(*properties);
        }
    }
    return QPrintDialog::eventFilter(watched, event);
}

void CReportPrintDialog::ChoosePaper(QWidget &properties)
{
    auto *sizes = properties.findChild<QComboBox *>(u"pageSizeCombo"_s);
    if (!sizes)
        return;
    const bool landscape = m_paper.orientation() == QPageLayout::Landscape;
    if (auto *button
        = properties.findChild<QRadioButton *>(landscape ? u"landscape"_s : u"portrait"_s))
        button->click();
    const QPageSize wanted = m_paper.pageSize();
    int custom = -1;
    for (int i = 0; i < sizes->count(); ++i) {
        const QVariant data = sizes->itemData(i);
        if (!data.canConvert<QPageSize>()) {
            custom = i;
        } else if (data.value<QPageSize>().isEquivalentTo(wanted)) {
            sizes->setCurrentIndex(i);
            return;
        }
    }
    // A size the printer does not list: its own width and height as the sheet lies, where the
    // printer takes them.
    auto *width = properties.findChild<QDoubleSpinBox *>(u"pageWidth"_s);
    auto *height = properties.findChild<QDoubleSpinBox *>(u"pageHeight"_s);
    auto *units = properties.findChild<QComboBox *>(u"unitCombo"_s);
    if (custom < 0 || !width || !height || !units)
        return;
    sizes->setCurrentIndex(custom);
    const auto unit = units->currentData().value<QPageLayout::Unit>();
    QSizeF size = wanted.size(QPageSize::Unit(unit));
    if (landscape)
        size.transpose();
    width->setValue(size.width());
    height->setValue(size.height());
}
