#include "backgroundtask.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <exception>

CBackgroundTask::CBackgroundTask(QObject *parent)
    : QObject(parent)
{
}

CBackgroundTask::~CBackgroundTask()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool CBackgroundTask::Start(Work work)
{
    if (m_running || m_thread.joinable())
        return false;
    m_running = true;
    m_cancel = false;
    m_thread = std::thread([this, work = std::move(work)] {
        QString message;
        bool succeeded = false;
        // Nothing thrown may leave the thread: it would end the program.
        try {
            succeeded = work(*this, message);
        } catch (const std::exception &error) {
            message = QCoreApplication::translate("CBackgroundTask", "The work stopped: %1")
                              .arg(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            message = QCoreApplication::translate("CBackgroundTask", "The work stopped unexpectedly");
        }
        const bool cancelled = m_cancel && !succeeded;
        // Queued to this object: dropped when the object is gone by then.
        QMetaObject::invokeMethod(
                this,
                [this, succeeded, cancelled, message] {
                    if (m_thread.joinable())
                        m_thread.join();
                    m_running = false;
                    m_progressPending = false;
                    emit finished(succeeded, cancelled, message);
                },
                Qt::QueuedConnection);
    });
    return true;
}

void CBackgroundTask::Cancel()
{
    m_cancel = true;
}

void CBackgroundTask::ReportProgress(int done, int total)
{
    m_done = done;
    m_total = total;
    if (m_progressPending.exchange(true))
        return;
    QMetaObject::invokeMethod(
            this,
            [this] {
                m_progressPending = false;
                emit progress(m_done, m_total);
            },
            Qt::QueuedConnection);
}
