#pragma once

#include <QDialog>

class CHyperlinkStatic;
class QLabel;

// Help > About: the program's name and version in bold, a short description,
// the web address as a link and the notice line, laid out in dialog units.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);

    // The web address the link opens.
    static QString WebAddress();

    CHyperlinkStatic *GetLink() const { return m_link; }
    QLabel *GetVersionLabel() const { return m_version; }
    QLabel *GetNameLabel() const { return m_name; }

private:
    CHyperlinkStatic *m_link;
    QLabel *m_name;
    QLabel *m_version;
};
