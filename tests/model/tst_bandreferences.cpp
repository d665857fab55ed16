#include "bandreferences.h"
#include "modelbuilder.h"
#include "testregistry.h"

#include <QRegularExpression>
#include <QTest>

using namespace ModelBuilder;
using namespace Qt::StringLiterals;

// Band references a run cannot follow, found before anything runs.
class TestBandReferences : public QObject
{
    Q_OBJECT

private slots:
    void problems_data()
    {
        // Bands as "Name>Parent", "Name^GroupHeader", "Name/GroupFooter"; "Name!" is a page
        // break, "Name@" a page header. Each problem as "band indexes: message".
        QTest::addColumn<QString>("bands");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("master and detail") << u"Orders Lines>orders"_s << QStringList();
        QTest::newRow("a page header's parent is not followed") << u"Top@>Top"_s << QStringList();
        QTest::newRow("missing parent") << u"Orders Lines>Order"_s
                                        << QStringList {u"1: The parent data source \"Order\" of "
                                                        u"the band \"Lines\" is no band of "
                                                        u"the report"_s};
        QTest::newRow("missing group header")
                << u"Orders^Total"_s
                << QStringList {u"0: The group header \"Total\" of the band \"Orders\" is no band "
                                u"of the "
                                u"report"_s};
        QTest::newRow("missing group footer")
                << u"Orders/Sums"_s
                << QStringList {
                           u"0: The group footer \"Sums\" of the band \"Orders\" is no band of the "
                           u"report"_s};
        QTest::newRow("page break as parent")
                << u"Break! Lines>Break"_s
                << QStringList {
                           u"1: The parent data source \"Break\" of the band \"Lines\" is a page "
                           u"break, which has no rows"_s};
        QTest::newRow("own parent")
                << u"A B>b"_s
                << QStringList {u"1: The band \"B\" names itself as its parent data source"_s};
        QTest::newRow("two bands, told from the first")
                << u"A>B B>A"_s
                << QStringList {u"0 1: The parent data sources of these bands lead round in a "
                                u"loop: \"A\" "
                                u"-> \"B\" -> \"A\""_s};
        QTest::newRow("a chain into a loop of three, found once")
                << u"Top>C A>B B>C C>A"_s
                << QStringList {
                           u"1 2 3: The parent data sources of these bands lead round in a loop: "
                           u"\"A\" -> \"B\" -> \"C\" -> \"A\""_s};
        QTest::newRow("the first band of a name counts") << u"A>B B B>A"_s << QStringList();
        QTest::newRow("every problem in band order")
                << u"A>A B>X C>D D>C"_s
                << QStringList {
                           u"0: The band \"A\" names itself as its parent data source"_s,
                           u"1: The parent data source \"X\" of the band \"B\" is no band of the report"_s,
                           u"2 3: The parent data sources of these bands lead round in a loop: "
                           u"\"C\" "
                           u"-> \"D\" -> \"C\""_s};
    }
    void problems()
    {
        QFETCH(QString, bands);
        QFETCH(QStringList, problems);
        CVornReport report;
        for (const QString &token : bands.split(u' ')) {
            const qsizetype mark = token.indexOf(QRegularExpression(u"[>^/!@]"_s));
            const QString name = token.left(mark);
            const QChar kind = mark < 0 ? QChar() : token.at(mark);
            CVornBand *band = AddBand(report, kind == u'!' ? 8 : kind == u'@' ? 4 : 1, name);
            const QString reference = token.mid(mark + 1).remove(u'>');
            if (token.contains(u'>'))
                band->SetParentDataSource(token.section(u'>', 1));
            else if (kind == u'^')
                band->SetHeader(reference);
            else if (kind == u'/')
                band->SetFooter(reference);
        }
        QStringList found;
        for (const CBandReferenceProblem &problem : FindBandReferenceProblems(report)) {
            QStringList indexes;
            for (const int index : problem.bands)
                indexes << QString::number(index);
            found << indexes.join(u' ') + u": "_s + problem.message;
        }
        QCOMPARE(found, problems);
        QString message;
        QCOMPARE(CheckBandReferences(report, message), problems.isEmpty());
        QCOMPARE(message, problems.isEmpty() ? QString() : problems.front().section(u": "_s, 1));
    }
};

VANTEL_TEST_CLASS(TestBandReferences)
#include "tst_bandreferences.moc"
