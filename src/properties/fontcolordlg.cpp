#include "fontcolordlg.h"

#include "colorpickercombo.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CFontColorDlg::CFontColorDlg(const CPropertyFont &font, int dpiY, QWidget *parent)
    : QDialog(parent)
    , m_fontChooser(new QFontDialog(this))
    , m_color(new CColorPickerCombo(this))
    , m_dpiY(dpiY)
    , m_charset(font.charset)
{
    setWindowTitle(tr("Font"));
    // The font chooser is embedded as a plain widget without its own buttons;
    // Return and Escape inside it still end this dialog.
    m_fontChooser->setWindowFlags(Qt::Widget);
    m_fontChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fontChooser->setObjectName(QStringLiteral("fontChooser"));
    connect(m_fontChooser, &QDialog::accepted, this, &QDialog::accept);
    connect(m_fontChooser, &QDialog::rejected, this, &QDialog::reject);
    m_color->setObjectName(QStringLiteral("fontColor"));

    auto *colorLabel = new QLabel(tr("&Color:"), this);
    colorLabel->setBuddy(m_color);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_color);
    colorRow->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fontChooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);

    SetPropertyFont(font);
}

CPropertyFont CFontColorDlg::GetPropertyFont() const
{
    CPropertyFont font
            = FromQFont(m_fontChooser->currentFont(), m_color->GetColor(), m_charset, m_dpiY);
    if (font.faceName == m_shownFamily)
        font.faceName = m_faceName;
    return font;
}

void CFontColorDlg::SetPropertyFont(const CPropertyFont &font)
{
    // The chooser lists installed families only; a face that is not installed
    // is offered as the family the system draws it with.
    QFont shown = ToQFont(font, m_dpiY);
    shown.setFamily(QFontInfo(shown).family());
    m_fontChooser->setCurrentFont(shown);
    m_faceName = font.faceName;
    m_shownFamily = m_fontChooser->currentFont().family();
    m_color->SetColor(font.color);
}
