#include "customizedlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CCustomizeDlg::CCustomizeDlg(const QList<Button> &buttons, const QList<QPixmap> &userImages,
                             QWidget *parent)
    : QDialog(parent)
    , m_buttons(buttons)
    , m_userImages(userImages)
    , m_list(new QListWidget(this))
    , m_image(new QComboBox(this))
{
    setWindowTitle(tr("Customize"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Buttons of the Standard and Layout toolbars:"), this));
    m_list->setObjectName(QStringLiteral("customizeButtons"));
    for (int row = 0; row < m_buttons.size(); ++row) {
        auto *item = new QListWidgetItem(m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        UpdateRow(row);
    }
    // Every button shows without scrolling.
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * m_list->count()
                             + 2 * m_list->frameWidth());
    layout->addWidget(m_list, 1);

    m_image->setObjectName(QStringLiteral("customizeImage"));
    m_image->addItem(tr("Standard image"));
    for (int i = 0; i < m_userImages.size(); ++i)
        m_image->addItem(QIcon(m_userImages.at(i)), tr("User image %1").arg(i + 1));
    auto *form = new QFormLayout;
    form->addRow(tr("Button image:"), m_image);
    layout->addLayout(form);
    if (m_userImages.isEmpty()) {
        m_image->setEnabled(false);
        auto *hint
                = new QLabel(tr("To give buttons images of your own, put UserImages.bmp (a strip "
                                "of 16 x 16 pixel images) in the folder the designer starts in."),
                             this);
        hint->setWordWrap(true);
        layout->addWidget(hint);
    }

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                             | QDialogButtonBox::RestoreDefaults,
                                     this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(box->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &CCustomizeDlg::RestoreDefaults);

    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        const int row = m_list->row(item);
        if (row >= 0)
            m_buttons[row].shown = item->checkState() == Qt::Checked;
    });
    connect(m_list, &QListWidget::currentRowChanged, this, &CCustomizeDlg::ShowImageChoice);
    connect(m_image, &QComboBox::activated, this, &CCustomizeDlg::OnImageChosen);
    m_list->setCurrentRow(0);
    ShowImageChoice(m_list->currentRow());
}

void CCustomizeDlg::UpdateRow(int row)
{
    const Button &button = m_buttons.at(row);
    QListWidgetItem *item = m_list->item(row);
    const QSignalBlocker blocker(m_list);
    item->setText(button.name);
    const bool userImage = button.userImage >= 0 && button.userImage < m_userImages.size();
    item->setIcon(userImage ? QIcon(m_userImages.at(button.userImage)) : button.icon);
    item->setCheckState(button.shown ? Qt::Checked : Qt::Unchecked);
}

void CCustomizeDlg::ShowImageChoice(int row)
{
    if (row < 0 || row >= m_buttons.size())
        return;
    const int image = m_buttons.at(row).userImage;
    m_image->setCurrentIndex(image >= 0 && image < m_userImages.size() ? image + 1 : 0);
}

void CCustomizeDlg::OnImageChosen(int index)
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_buttons.size())
        return;
    m_buttons[row].userImage = index - 1;
    UpdateRow(row);
}

void CCustomizeDlg::RestoreDefaults()
{
    for (int row = 0; row < m_buttons.size(); ++row) {
        m_buttons[row].shown = true;
        m_buttons[row].userImage = -1;
        UpdateRow(row);
    }
    ShowImageChoice(m_list->currentRow());
}
