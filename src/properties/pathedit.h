#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The in-place editor of a path row: the path typed in a line, and a "..." button beside it
// that chooses a file in a file dialog. committed() tells that the path is final: Return or
// the end of typing, or a file chosen.
class CPathEdit : public QWidget
{
    Q_OBJECT

public:
    explicit CPathEdit(QWidget *parent = nullptr);

    QString GetText() const;
    void SetText(const QString &text);
    QLineEdit *GetLineEdit() const { return m_line; }
    QToolButton *GetButton() const { return m_button; }

    // Opens the file dialog (what the button does); a chosen file's absolute path replaces
    // the text and is committed.
    void Browse();

signals:
    void committed();

private:
    void Commit();

    QLineEdit *m_line;
    QToolButton *m_button;
    // While the file dialog is open the line loses the focus without the typing being over.
    bool m_browsing = false;
    bool m_committed = false;
};
