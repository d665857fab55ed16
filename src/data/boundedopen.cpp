#include "boundedopen.h"

#include "dataconnection.h"
#include "sqlcursor.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

std::atomic_int g_opensInFlight = 0;

struct COpenState
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    bool ok = false;
    QString error;
    QSqlDatabase database;
};

} // namespace

bool CBoundedOpen::Run(QSqlDatabase &database, QString &error, bool &timedOut) const
{
    timedOut = false;
    auto state = std::make_shared<COpenState>();
    QThread *caller = QThread::currentThread();
    auto inFlight = std::make_shared<COpenInFlight>();
    std::thread([state, caller, driver = driver, name = connectionName, configure = configure,
                 inFlight] {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        if (configure)
            configure(db);
        const bool ok = db.open();
        const QString error = ok ? QString() : DatabaseErrorText(db.lastError());
        std::unique_lock lock(state->mutex);
        if (state->abandoned) {
            lock.unlock();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return;
        }
        // The caller's thread owns the connection from here on.
        if (db.driver())
            db.driver()->moveToThread(caller);
        // The caller must hold the only copy: Qt reports a connection removed while another
        // copy lives as still in use.
        state->database = db;
        db = QSqlDatabase();
        state->ok = ok;
        state->error = error;
        state->done = true;
        state->finished.notify_all();
    }).detach();

    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&state] { return state->done; })) {
        state->abandoned = true;
        timedOut = true;
        error.clear();
        return false;
    }
    database = state->database;
    state->database = QSqlDatabase();
    error = state->error;
    return state->ok;
}

COpenInFlight::COpenInFlight()
{
    ++g_opensInFlight;
}

COpenInFlight::~COpenInFlight()
{
    --g_opensInFlight;
}

bool DataOpensInFlight()
{
    return g_opensInFlight.load() > 0;
}
