#include "modalanswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

CModalAnswer::CModalAnswer(QMessageBox::StandardButton button,
                           std::function<void(QDialog *)> handler)
    : m_button(button)
    , m_handler(std::move(handler))
{
    connect(&m_timer, &QTimer::timeout, this, &CModalAnswer::Poll);
    m_timer.start(5);
}

void CModalAnswer::Poll()
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog || dialog == m_last || !dialog->isVisible())
        return;
    m_last = dialog;
    ++dialogs;
    if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
        titles.append(box->windowTitle());
        texts.append(box->text());
        if (QAbstractButton *button = box->button(m_button))
            button->click();
        else
            box->reject();
        return;
    }
    if (m_handler)
        m_handler(dialog);
    else
        dialog->reject();
}
