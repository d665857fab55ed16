#include "testregistry.h"
#include "xmltext.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Characters XML refuses are dropped, as text and as UTF-8; pairs of surrogates stay whole.
class TestXmlText : public QObject
{
    Q_OBJECT

private slots:
    void allowed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("allowed");
        QTest::newRow("tab, line feed and return stay") << u"a\tb\nc\rd"_s << u"a\tb\nc\rd"_s;
        QTest::newRow("NUL and other controls go")
                << u"a\u0000b\u0001c\u001Fd\u007F"_s << u"abcd\u007F"_s;
        QTest::newRow("U+FFFE and U+FFFF go") << u"x\uFFFEy\uFFFFz\uFFFD"_s << u"xyz\uFFFD"_s;
        QTest::newRow("a pair stays, halves go")
                << u"\U0001F600"_s + QChar(0xD800) + u"a"_s + QChar(0xDC00) << u"\U0001F600a"_s;
    }
    void allowed()
    {
        QFETCH(QString, text);
        QFETCH(QString, allowed);
        QCOMPARE(XmlText::Allowed(text), allowed);
        // UTF-8 has no halves of pairs: the encoder writes them as '?'.
        if (!text.contains(QChar(0xD800)))
            QCOMPARE(XmlText::AllowedUtf8(text.toUtf8()), allowed.toUtf8());
        QCOMPARE(XmlText::Escaped(u"<a href=\"x\">'&'</a>"_s + text),
                 u"&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;"_s + allowed);
    }
};

VANTEL_TEST_CLASS(TestXmlText)
#include "tst_xmltext.moc"
