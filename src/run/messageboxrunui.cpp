#include "messageboxrunui.h"

#include "reportparametersdlg.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QString Caption()
{
    return QCoreApplication::translate("Vantel", "Vantel");
}

} // namespace

CMessageBoxRunUi::CMessageBoxRunUi(QWidget *parent)
    : m_parent(parent)
{ }

void CMessageBoxRunUi::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, Caption(), text, QMessageBox::Ok, m_parent);
    // An engine's message is shown as it is written, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool CMessageBoxRunUi::AskYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool CMessageBoxRunUi::EditParameters(CVornParameters &parameters)
{
    CReportParametersDlg dialog(m_parent);
    dialog.SetParameters(parameters);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    parameters = dialog.GetParameters();
    return true;
}
