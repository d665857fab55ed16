#include "labelsheetdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QSpinBox>

#include <cmath>

namespace {

// The sheet's lengths in the order of the dialog's fields.
int CLabelSheet::*const Lengths[] = {
        &CLabelSheet::pageWidth, &CLabelSheet::pageHeight, &CLabelSheet::top,
        &CLabelSheet::left,      &CLabelSheet::labelWidth, &CLabelSheet::labelHeight,
        &CLabelSheet::gapAcross, &CLabelSheet::gapDown,
};

} // namespace

CLabelSheetDlg::CLabelSheetDlg(QWidget *parent)
    : QDialog(parent)
    , m_presets(new QComboBox(this))
    , m_across(new QSpinBox(this))
    , m_down(new QSpinBox(this))
{
    setWindowTitle(tr("New Label Report"));
    auto *form = new QFormLayout(this);
    for (const CLabelSheet &sheet : CLabelSheet::Presets())
        m_presets->addItem(sheet.name);
    m_presets->addItem(tr("Custom"));
    form->addRow(tr("&Sheet:"), m_presets);
    const char *const names[] = {
            QT_TR_NOOP("Page &width (mm):"),  QT_TR_NOOP("Page &height (mm):"),
            QT_TR_NOOP("&Top margin (mm):"),  QT_TR_NOOP("&Left margin (mm):"),
            QT_TR_NOOP("Label w&idth (mm):"), QT_TR_NOOP("Label h&eight (mm):"),
            QT_TR_NOOP("Gap &across (mm):"),  QT_TR_NOOP("Gap &down (mm):"),
    };
    for (int i = 0; i < 8; ++i) {
        m_lengths[i] = new QDoubleSpinBox(this);
        m_lengths[i]->setDecimals(2);
        m_lengths[i]->setRange(0, 2000);
        form->addRow(tr(names[i]), m_lengths[i]);
    }
    m_across->setRange(1, 100);
    m_down->setRange(1, 1000);
    form->addRow(tr("Labels a&cross:"), m_across);
    form->addRow(tr("Labels d&own:"), m_down);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_presets, &QComboBox::currentIndexChanged, this, &CLabelSheetDlg::ShowPreset);
    ShowPreset(0);
}

void CLabelSheetDlg::ShowPreset(int index)
{
    const auto &presets = CLabelSheet::Presets();
    const bool custom = index < 0 || size_t(index) >= presets.size();
    // A custom sheet starts from the preset shown last.
    if (!custom) {
        const CLabelSheet &sheet = presets[size_t(index)];
        for (int i = 0; i < 8; ++i)
            m_lengths[i]->setValue(sheet.*Lengths[i] / 100.0);
        m_across->setValue(sheet.across);
        m_down->setValue(sheet.down);
    }
    for (QDoubleSpinBox *length : m_lengths)
        length->setEnabled(custom);
    m_across->setEnabled(custom);
    m_down->setEnabled(custom);
}

CLabelSheet CLabelSheetDlg::GetSheet() const
{
    const auto &presets = CLabelSheet::Presets();
    const int index = m_presets->currentIndex();
    if (index >= 0 && size_t(index) < presets.size())
        return presets[size_t(index)];
    CLabelSheet sheet;
    sheet.name = m_presets->currentText();
    for (int i = 0; i < 8; ++i)
        sheet.*Lengths[i] = int(std::lround(m_lengths[i]->value() * 100));
    sheet.across = m_across->value();
    sheet.down = m_down->value();
    return sheet;
}

void CLabelSheetDlg::accept()
{
    QString problem;
    if (!GetSheet().Check(problem)) {
        QMessageBox::warning(this, tr("Vantel"), problem);
        return;
    }
    QDialog::accept();
}
