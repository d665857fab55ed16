#include "testregistry.h"
#include "xlsxlibrary.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestXlsxLibrary : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QString>("message"); // empty when the library loads

        QTest::newRow("a library that is not installed")
                << QByteArray("libvantel-no-such-library.so.1") << u"cannot be loaded"_s;
        QTest::newRow("a library without the workbook calls")
                << QByteArray("libz.so.1") << u"has no function workbook_new_opt"_s;
        QTest::newRow("the library the program was built with")
                << QByteArray(VANTEL_XLSXWRITER_SONAME) << QString();
    }

    void load()
    {
        QFETCH(QByteArray, library);
        QFETCH(QString, message);
        CXlsxLibrary calls;
        QString found;
        QCOMPARE(calls.Load(library.constData(), found), message.isEmpty());
        QVERIFY2(found.contains(message), qPrintable(found));
        // All or nothing: a caller never meets a library with some of its calls missing.
        QCOMPARE(calls.workbook_new_opt != nullptr, message.isEmpty());
        QCOMPARE(calls.lxw_strerror != nullptr, message.isEmpty());
    }

    void shared()
    {
        QString message;
        const CXlsxLibrary *calls = CXlsxLibrary::Shared(message);
        QVERIFY2(calls, qPrintable(message));
        QCOMPARE(CXlsxLibrary::Shared(message), calls);
        QCOMPARE(QString::fromUtf8(calls->lxw_strerror(LXW_NO_ERROR)), u"No error."_s);
    }
};

VANTEL_TEST_CLASS(TestXlsxLibrary)
#include "tst_xlsxlibrary.moc"
