#include "shortentext.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// A message cut to a fixed buffer ends after a whole word with "...".
class TestShortenText : public QObject
{
    Q_OBJECT

private slots:
    void shorten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits") << u"Band Orders failed"_s << 18 << u"Band Orders failed"_s;
        QTest::newRow("after the last whole word")
                << u"Band Orders failed: no such column"_s << 24 << u"Band Orders failed:..."_s;
        QTest::newRow("a blank too far back: the word is cut")
                << u"abc defghijklmnop"_s << 12 << u"abc defgh..."_s;
        QTest::newRow("no blank near the end: cut inside the word")
                << QString(100, u'x') << 20 << QString(17, u'x') + u"..."_s;
        QTest::newRow("never between the halves of a pair")
                << QString(16, u'x') + u"\U0001F600\U0001F600\U0001F600"_s << 20
                << QString(16, u'x') + u"..."_s;
        QTest::newRow("room for the dots only") << u"abcdef"_s << 3 << u"..."_s;
    }
    void shorten()
    {
        QFETCH(QString, text);
        QFETCH(int, units);
        QFETCH(QString, expected);
        const QString shortened = ShortenToFit(text, units);
        QCOMPARE(shortened, expected);
        QVERIFY(shortened.size() <= units);
    }
};

VANTEL_TEST_CLASS(TestShortenText)
#include "tst_shortentext.moc"
