#include "systemerror.h"
#include "testregistry.h"
#include "vantelversion.h"
#include "versiontext.h"

#include <QRegularExpression>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

class TestSystemText : public QObject
{
    Q_OBJECT

private slots:
    void systemErrorText_data();
    void systemErrorText();
    void versionText();
};

void TestSystemText::systemErrorText_data()
{
    // The tests run under LC_ALL=C.UTF-8, so the system speaks English.
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing file") << ENOENT << u"No such file or directory"_s;
    QTest::newRow("file-size limit") << EFBIG << u"File too large"_s;
    QTest::newRow("a code without text") << 99999 << QString();
    QTest::newRow("a negative code") << -5 << QString();
}

void TestSystemText::systemErrorText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(SystemErrorText(code), text);
}

void TestSystemText::versionText()
{
    const QString text = VersionText();
    QVERIFY2(QRegularExpression(u"^\\d+\\.\\d+\\.\\d+$"_s).match(text).hasMatch(),
             qPrintable(text));
    QVERIFY(text.startsWith(QString::number(VANTEL_VERSION_MAJOR) + u'.'));
}

VANTEL_TEST_CLASS(TestSystemText)
#include "tst_systemtext.moc"
