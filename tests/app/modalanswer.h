#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;

// Answers every modal dialog that opens while it lives, from a timer, so that
// a test can run code that shows one: a message box is answered with the
// given button after its title and text are noted; any other dialog goes to
// the handler (or is rejected).
class CModalAnswer : public QObject
{
    Q_OBJECT

public:
    explicit CModalAnswer(QMessageBox::StandardButton button,
                          std::function<void(QDialog *)> handler = {});

    QStringList titles;
    QStringList texts;
    int dialogs = 0;

private:
    void Poll();

    QMessageBox::StandardButton m_button;
    std::function<void(QDialog *)> m_handler;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};
