#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPixmap>

class QComboBox;
class QLabel;
class QListWidget;

// View > Toolbars and Docking Windows > Customize...: which buttons the
// "Standard" and "Layout" toolbars show, and for each button either its own image or one of
// the user's images (UserImages.bmp). The caller applies the result.
class CCustomizeDlg : public QDialog
{
    Q_OBJECT

public:
    struct Button
    {
        int id = 0;
        QString name;
        QIcon icon;
        bool shown = true;
        // Index into the user images; -1 for the button's own image.
        int userImage = -1;
    };

    CCustomizeDlg(const QList<Button> &buttons, const QList<QPixmap> &userImages,
                  QWidget *parent = nullptr);

    // The buttons with the choices made.
    QList<Button> GetButtons() const { return m_buttons; }

    QListWidget *GetList() const { return m_list; }
    QComboBox *GetImageChoice() const { return m_image; }

private:
    void ShowImageChoice(int row);
    void OnImageChosen(int index);
    void UpdateRow(int row);
    void RestoreDefaults();

    QList<Button> m_buttons;
    QList<QPixmap> m_userImages;
    QListWidget *m_list;
    QComboBox *m_image;
};
