#pragma once

#include "labelsheet.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// File > New Label Report...: a sheet chosen from the presets, or a custom one given by its
// page, margins, label size, gaps and labels across and down. OK is taken only for a sheet
// whose labels fit on its page; the reason shows otherwise.
class CLabelSheetDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLabelSheetDlg(QWidget *parent = nullptr);

    // The sheet as the dialog shows it.
    CLabelSheet GetSheet() const;
    QComboBox *GetPresets() const { return m_presets; }

    void accept() override;

private:
    void ShowPreset(int index);

    QComboBox *m_presets;
    // Lengths in millimetres: page width and height, top and left margins, label width and
    // height, gaps across and down.
    QDoubleSpinBox *m_lengths[8];
    QSpinBox *m_across;
    QSpinBox *m_down;
};
