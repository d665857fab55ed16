#include "pathedit.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

CPathEdit::CPathEdit(QWidget *parent)
    : QWidget(parent)
    , m_line(new QLineEdit)
    , m_button(new QToolButton)
{
    m_line->setObjectName(QStringLiteral("propertyPathLine"));
    m_line->setFrame(false);
    m_button->setObjectName(QStringLiteral("propertyPathButton"));
    m_button->setText(QStringLiteral("..."));
    m_button->setToolTip(QCoreApplication::translate("Vantel", "Choose the database file"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_line, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_line);
    // The window behind the line: a half-drawn cell would show through otherwise.
    setAutoFillBackground(true);
    connect(m_line, &QLineEdit::editingFinished, this, [this] {
        if (!m_browsing)
            Commit();
    });
    connect(m_button, &QToolButton::clicked, this, &CPathEdit::Browse);
}

QString CPathEdit::GetText() const
{
    return m_line->text();
}

void CPathEdit::SetText(const QString &text)
{
    m_line->setText(text);
}

void CPathEdit::Browse()
{
    QFileDialog dialog(this, QCoreApplication::translate("Vantel", "Open"));
    dialog.setObjectName(QStringLiteral("databaseFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
            {QCoreApplication::translate("Vantel", "SQLite databases (*.db *.sqlite *.sqlite3)"),
             QCoreApplication::translate("Vantel", "All files (*)")});
    const QFileInfo current(m_line->text());
    if (!m_line->text().isEmpty() && current.isAbsolute())
        dialog.selectFile(current.absoluteFilePath());
    m_browsing = true;
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    m_browsing = false;
    if (!chosen) {
        m_line->setFocus();
        return;
    }
    m_line->setText(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
    Commit();
}

void CPathEdit::Commit()
{
    if (m_committed)
        return;
    m_committed = true;
    emit committed();
}
