#include "backgroundtask.h"
#include "testregistry.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <thread>

// Work off the GUI thread: an export the window waits for, and a look-up the window never waits
// for, whose stale results must not arrive.
class TestBackgroundTask : public QObject
{
    Q_OBJECT

private slots:
    void aStartedWorkReportsAndEnds()
    {
        CBackgroundTask task;
        QSignalSpy progress(&task, &CBackgroundTask::progress);
        QSignalSpy finished(&task, &CBackgroundTask::finished);
        QVERIFY(task.Start([](CBackgroundTask &own, QString &message) {
            own.ReportProgress(3, 4);
            message = QStringLiteral("failed");
            return false;
        }));
        QVERIFY(!task.Start([](CBackgroundTask &, QString &) { return true; }));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0), (QVariantList {false, false, QStringLiteral("failed")}));
        QCOMPARE(progress.size(), 1);
        QCOMPARE(progress.at(0), (QVariantList {3, 4}));
        QVERIFY(!task.IsRunning());
    }

    void aDetachedWorkDeliversOnlyTheNewestResult()
    {
        auto release = std::make_shared<std::atomic_bool>(false);
        int delivered = 0;
        CBackgroundTask task;
        QSignalSpy finished(&task, &CBackgroundTask::finished);
        // The first ignores its cancel flag until released: its result comes too late.
        QVERIFY(task.StartDetached([release, &delivered](const std::atomic_bool &) {
            while (!*release)
                std::this_thread::yield();
            return CBackgroundTask::Delivery([&delivered] { delivered = 1; });
        }));
        QVERIFY(task.StartDetached([&delivered](const std::atomic_bool &) {
            return CBackgroundTask::Delivery([&delivered] { delivered = 2; });
        }));
        QVERIFY(finished.wait(5000));
        QCOMPARE(delivered, 2);
        *release = true;
        QVERIFY(CBackgroundTask::WaitForAll(5000));
        QCoreApplication::processEvents();
        QCOMPARE(delivered, 2);
        QCOMPARE(finished.size(), 1);
    }

    void theOwnerNeverWaitsForADetachedWork()
    {
        auto release = std::make_shared<std::atomic_bool>(false);
        auto task = std::make_unique<CBackgroundTask>();
        task->StartDetached([release](const std::atomic_bool &) {
            while (!*release)
                std::this_thread::yield();
            return CBackgroundTask::Delivery();
        });
        task.reset(); // returns while the work still runs
        QVERIFY(!CBackgroundTask::WaitForAll(0));
        *release = true;
        QVERIFY(CBackgroundTask::WaitForAll(5000));
    }
};

VANTEL_TEST_CLASS(TestBackgroundTask)

#include "tst_backgroundtask.moc"
