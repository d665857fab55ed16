#include "testregistry.h"
#include "testutil.h"
#include "zintlibrary.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// EAN-13 symbols are drawn by Vantel itself and stay exactly as they were before the other
// symbologies came: the same label sheet (symbols with and without digits, a crossed box for a
// wrong check digit and for letters) gives, byte for byte, the files stored when the EAN-13
// drawing was the only one.
class TestEan13Unchanged : public QObject
{
    Q_OBJECT

private slots:
    void sameBytes_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("PDF") << u"pdf"_s;
        QTest::newRow("PNG at 96 dpi") << u"png"_s;
        QTest::newRow("SVG") << u"svg"_s;
    }

    void sameBytes()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString output = dir.filePath(u"labels."_s + format);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SOURCE_DATE_EPOCH"_s, u"1700000000"_s);
        env.insert(u"TZ"_s, u"UTC"_s);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VANTEL_RENDER_PATH),
                      {TestUtil::FixturePath(u"ean13_labels.vnt"_s), u"-o"_s, output});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        const QByteArray written = TestUtil::ReadAll(output);
        QVERIFY(!written.isEmpty());
        QVERIFY(written == TestUtil::ReadAll(TestUtil::FixturePath(u"ean13_labels."_s + format)));
    }

    // The programs start without the barcode library: it is opened by name when the first
    // symbol of another symbology is drawn, and a library that is missing or is another one
    // says so.
    void libraryLoadedWhenUsed_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QString>("message"); // empty when the library loads
        QTest::newRow("not installed")
                << QByteArray("libvantel-no-such-library.so.1") << u"cannot be loaded"_s;
        QTest::newRow("another library")
                << QByteArray("libz.so.1") << u"has no function ZBarcode_Create"_s;
        QTest::newRow("the one the program was built with")
                << QByteArray(VANTEL_ZINT_SONAME) << QString();
    }

    void libraryLoadedWhenUsed()
    {
        QFETCH(QByteArray, library);
        QFETCH(QString, message);
        CZintLibrary calls;
        QString found;
        QCOMPARE(calls.Load(library.constData(), found), message.isEmpty());
        QVERIFY2(found.contains(message), qPrintable(found));
        QCOMPARE(calls.encodeVector != nullptr, message.isEmpty());

        QProcess objdump;
        objdump.start(u"objdump"_s, {u"-p"_s, QStringLiteral(VANTEL_RENDER_PATH)});
        QVERIFY(objdump.waitForFinished(60000));
        QVERIFY(!objdump.readAllStandardOutput().contains("libzint"));
    }
};

VANTEL_TEST_CLASS(TestEan13Unchanged)
#include "tst_ean13unchanged.moc"
