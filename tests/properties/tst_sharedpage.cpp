#include "propertyedit.h"
#include "propertyid.h"
#include "rowedit.h"
#include "samplereport.h"
#include "sharedpage.h"
#include "testregistry.h"
#include "vorndocument.h"

#include <QTest>

using namespace SampleReport;

namespace {

// "name=value" per row, "*" for a value that differs (a group shows its sub-rows' values, an
// empty one where they differ), sub-rows indented; option rows add their options in braces.
QStringList Shape(const QList<CPropertyRow> &rows, const QString &indent = QString())
{
    QStringList lines;
    for (const CPropertyRow &row : rows) {
        QString line = indent + row.name + u'=' + (row.mixed ? u"*"_s : row.value);
        if (row.kind == PropertyRowKind::Option)
            line += u" {"_s + row.options.join(u'|') + u'}';
        lines << line;
        lines << Shape(row.subRows, indent + u"  "_s);
    }
    return lines;
}

std::vector<CVornElement *> Objects(const CVornReport &report, const QStringList &names)
{
    std::vector<CVornElement *> objects;
    for (const QString &name : names)
        objects.push_back(report.FindByName(name));
    return objects;
}

} // namespace

// The Properties pane with several items: the rows they share with the values they agree on,
// and an edit that sets every one of them as one step, or none of them.
class TestSharedPage : public QObject
{
    Q_OBJECT

private slots:
    void page_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("a text and a DB text share the text rows")
                << QStringList {u"Text 1"_s, u"Amount"_s}
                << QStringList {u"(Object)=*"_s,
                                u"Position=, , , "_s,
                                u"  Left=*"_s,
                                u"  Top=*"_s,
                                u"  Right=*"_s,
                                u"  Bottom=*"_s,
                                u"Font=*"_s,
                                u"Text Color=*"_s,
                                u"Horizontal Alignment=* {Left|Center|Right}"_s,
                                u"Vertical Alignment=* {Top|Center|Bottom}"_s,
                                u"Word Wrap=* {True|False}"_s,
                                u"Can Grow=* {Yes|No}"_s,
                                u"Print When="_s,
                                u"Styles=(none)"_s};
        // Image offers Stretch as well; the text does not.
        QTest::newRow("an image and a text share fewer options")
                << QStringList {u"Logo"_s, u"Text 1"_s}
                << QStringList {u"(Object)=*"_s,
                                u"Position=, , , "_s,
                                u"  Left=*"_s,
                                u"  Top=*"_s,
                                u"  Right=*"_s,
                                u"  Bottom=*"_s,
                                u"Horizontal Alignment=* {Left|Center|Right}"_s,
                                u"Vertical Alignment=* {Top|Center|Bottom}"_s,
                                u"Print When="_s};
        QTest::newRow("two barcodes agree where they can")
                << QStringList {u"Code"_s, u"EAN"_s}
                << QStringList {u"(Object)=*"_s,
                                u"Position=0, 0, , "_s,
                                u"  Left=0"_s,
                                u"  Top=0"_s,
                                u"  Right=*"_s,
                                u"  Bottom=*"_s,
                                u"Symbology=EAN-13 {EAN-13|Code 128|GS1-128|QR "
                                u"Code|DataMatrix|PDF417|EAN-8|"
                                "UPC-A|Code 39|ITF-14}"_s,
                                u"Print When="_s};
    }
    void page()
    {
        QFETCH(QStringList, objects);
        QFETCH(QStringList, rows);
        CVornReport report;
        Fill(report);
        const auto page = BuildSharedPage(report, Objects(report, objects), 96);
        QVERIFY(page.has_value());
        QCOMPARE(Shape(*page), rows);
    }

    // Left of two items on two bands is set on both as one step; a name that one of them
    // cannot take is refused for both, and the message names that one.
    void editAll()
    {
        CVornDocument document;
        Fill(document.GetReport());
        CVornReport &report = document.GetReport();
        AddItem(report.GetBands()[2], u"Note"_s, 0, 0, 100, 100);
        const auto objects = Objects(report, {u"Note"_s, u"Text 1"_s});

        CRowEdit left;
        left.id = RowId::Left;
        left.name = u"Left"_s;
        left.value = u"7"_s;
        QVERIFY(ApplyEditStepToAll(document, objects, left, 96).changed);
        for (const CVornElement *object : objects)
            QCOMPARE(static_cast<const CVornItem *>(object)->GetLeft(), 700);
        QCOMPARE(document.GetUndoStack()->count(), 1);
        QCOMPARE(document.GetUndoStack()->undoText(), u"Change Left"_s);

        CRowEdit name;
        name.id = RowId::Name;
        name.name = u"Name"_s;
        name.value = u"Amount"_s;
        const CEditResult refused = ApplyEditStepToAll(document, objects, name, 96);
        QVERIFY(refused.nameRefused && !refused.changed);
        QCOMPARE(refused.message, u"Text 1: Duplicate object name: Amount"_s);
        QCOMPARE(objects[0]->GetName(), u"Note"_s);
        QCOMPARE(document.GetUndoStack()->count(), 1);
    }
};

VANTEL_TEST_CLASS(TestSharedPage)
#include "tst_sharedpage.moc"
