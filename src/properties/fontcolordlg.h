#pragma once

#include "propertyfont.h"

#include <QDialog>

class CColorPickerCombo;
class QFontDialog;

// The font dialog of a font row: face, style, size, underline and strike-out
// as the system font chooser offers them, plus the text colour.
class CFontColorDlg : public QDialog
{
    Q_OBJECT

public:
    CFontColorDlg(const CPropertyFont &font, int dpiY, QWidget *parent = nullptr);

    // The chosen font with its colour; the character set is the one the
    // dialog was opened with.
    CPropertyFont GetPropertyFont() const;
    // Shows another font and colour, as if the user had chosen them.
    void SetPropertyFont(const CPropertyFont &font);

private:
    QFontDialog *m_fontChooser;
    CColorPickerCombo *m_color;
    int m_dpiY;
    int m_charset;
    // The face the dialog was given, and the family the chooser showed for it:
    // a face that is not installed is shown as a substitute, which must not
    // replace the item's face unless the user picks another family.
    QString m_faceName;
    QString m_shownFamily;
};
