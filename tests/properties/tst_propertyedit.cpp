#include "propertyedit.h"
#include "propertyid.h"
#include "propertypage.h"
#include "samplereport.h"
#include "testregistry.h"
#include "testutil.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SampleReport;

namespace {

QString Flag(int value)
{
    return QString::number(value);
}

// A field of the report (object null) or of a band or item, as text.
QString Field(const CVornReport &report, const CVornElement *object, const QString &field)
{
    if (!object) {
        if (field == u"height")
            return Flag(report.GetHeight());
        if (field == u"width")
            return Flag(report.GetWidth());
        if (field == u"title")
            return report.GetTitle();
        if (field == u"connect")
            return report.GetConnectString();
        if (field == u"dbtype")
            return Flag(report.GetDatabaseType());
        if (field == u"portrait")
            return Flag(report.GetPortrait());
        if (field == u"locale")
            return report.GetLocale();
    }
    if (field == u"name")
        return object->GetName();
    if (field == u"when") {
        const auto *band = dynamic_cast<const CVornBand *>(object);
        return band ? band->GetPrintWhen() : static_cast<const CVornItem *>(object)->GetPrintWhen();
    }
    if (const auto *band = dynamic_cast<const CVornBand *>(object)) {
        if (field == u"height")
            return Flag(band->GetHeight());
        if (field == u"query")
            return band->GetDatabaseQuery();
        if (field == u"parent")
            return band->GetParentDataSource();
        if (field == u"header")
            return band->GetHeader();
        if (field == u"footer")
            return band->GetFooter();
        if (field == u"first")
            return Flag(band->GetPrintOnFirstPage());
        const CBandPaging &p = band->GetPaging();
        if (field == u"paging")
            return u"%1 %2 %3 %4 %5"_s.arg(p.newPage)
                    .arg(p.resetPageNumber)
                    .arg(p.keepWithNext)
                    .arg(p.repeatHeader)
                    .arg(p.keepTogether);
        if (field == u"columns")
            return u"%1 %2 %3 %4 %5 %6"_s.arg(p.columns)
                    .arg(p.columnGap)
                    .arg(p.columnOrder)
                    .arg(p.columnWidth)
                    .arg(p.columnLeft)
                    .arg(p.skipLabels);
    }
    const auto *item = dynamic_cast<const CVornItem *>(object);
    if (!item)
        return u"?"_s;
    if (field == u"rect")
        return u"%1 %2 %3 %4"_s.arg(item->GetLeft())
                .arg(item->GetTop())
                .arg(item->GetRight())
                .arg(item->GetBottom());
    if (field == u"color")
        return u"0x"_s + QString::number(item->GetColor(), 16);
    if (const auto *text = dynamic_cast<const CVornText *>(object)) {
        if (field == u"text")
            return text->GetText();
        if (field == u"align")
            return u"%1 %2"_s.arg(text->GetHorzAlignment()).arg(text->GetVertAlignment());
        if (field == u"wrap")
            return Flag(text->GetWordWrap());
        if (field == u"grow")
            return Flag(text->GetCanGrow());
    }
    if (const auto *db = dynamic_cast<const CVornDbText *>(object)) {
        if (field == u"source")
            return db->GetDataSource();
        if (field == u"field")
            return db->GetDataField();
        if (field == u"format")
            return db->GetFormat();
        if (field == u"query")
            return db->GetQuery();
        if (field == u"aggregate")
            return u"%1 %2"_s.arg(db->GetAggregate()).arg(db->GetAggregateOver());
        if (field == u"expression")
            return db->GetExpression() + u'|' + db->GetDisplayFormat();
    }
    if (const auto *shape = dynamic_cast<const CVornShape *>(object)) {
        if (field == u"bkcolor")
            return u"0x"_s + QString::number(shape->GetBkColor(), 16);
        if (field == u"shape")
            return u"%1 %2"_s.arg(shape->GetShapeType()).arg(shape->GetLineStyle());
    }
    if (const auto *image = dynamic_cast<const CVornImage *>(object)) {
        if (field == u"align")
            return u"%1 %2"_s.arg(image->GetHorzAlignment()).arg(image->GetVertAlignment());
    }
    if (const auto *db = dynamic_cast<const CVornDbImage *>(object)) {
        if (field == u"source")
            return db->GetDataSource();
        if (field == u"field")
            return db->GetDataField();
    }
    if (const auto *barcode = dynamic_cast<const CVornBarcode *>(object)) {
        if (field == u"barcode")
            return barcode->GetBarcode();
        if (field == u"symbology")
            return u"%1 %2 %3"_s.arg(barcode->GetSymbology())
                    .arg(barcode->GetEccLevel())
                    .arg(barcode->GetShowText());
    }
    if (const auto *db = dynamic_cast<const CVornDbBarcode *>(object)) {
        if (field == u"source")
            return db->GetDataSource();
        if (field == u"field")
            return db->GetDataField();
    }
    return u"?"_s;
}

// The id of the row the object's page shows under that name (sub-rows included); empty when
// the page has no such row.
QString RowIdOf(const CVornReport &report, const CVornElement *object, const QString &name)
{
    QList<CPropertyRow> rows
            = BuildPage(report, object, QString(), QString(), 96).value_or(QList<CPropertyRow>());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name)
            return rows[i].id;
        rows += rows[i].subRows;
    }
    return QString();
}

// The edit the object's grid row of that name makes: colour rows carry the colour (the value
// read as a number), SQL rows the full text and its one-line form.
CRowEdit MakeEdit(const CVornReport &report, const CVornElement *object, const QString &row,
                  const QString &value)
{
    CRowEdit edit;
    edit.id = RowIdOf(report, object, row);
    edit.name = row;
    edit.value = value;
    if (row.endsWith(u"Color"_s, Qt::CaseInsensitive))
        edit.color = value.toUInt(nullptr, 0);
    if (row.compare(u"SQL Query"_s, Qt::CaseInsensitive) == 0) {
        edit.sqlText = value;
        edit.value = SqlOneLine(value);
    }
    return edit;
}

} // namespace

// Writing edits of the grid's rows into the report, band and items.
class TestPropertyEdit : public QObject
{
    Q_OBJECT

private slots:
    void edits_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("changed");

        // The report (object "").
        QTest::newRow("page height")
                << QString() << u"Height"_s << u"250"_s << u"height"_s << u"25000"_s << true;
        QTest::newRow("page width")
                << QString() << u"Width"_s << u"-3"_s << u"width"_s << u"-300"_s << true;
        QTest::newRow("title") << QString() << u"Title"_s << u"Q1"_s << u"title"_s << u"Q1"_s
                               << true;
        QTest::newRow("connection") << QString() << u"Database Connection String"_s << u"a:b@c"_s
                                    << u"connect"_s << u"a:b@c"_s << true;
        QTest::newRow("database None")
                << QString() << u"Database Type"_s << u"None"_s << u"dbtype"_s << u"-1"_s << true;
        QTest::newRow("database sqlite any case")
                << QString() << u"Database Type"_s << u"sqlite"_s << u"dbtype"_s << u"0"_s << true;
        QTest::newRow("database FireBird") << QString() << u"Database Type"_s << u"FireBird"_s
                                           << u"dbtype"_s << u"1"_s << true;
        QTest::newRow("database ODBC")
                << QString() << u"Database Type"_s << u"ODBC"_s << u"dbtype"_s << u"2"_s << true;
        QTest::newRow("landscape") << QString() << u"Page Orientation"_s << u"Landscape"_s
                                   << u"portrait"_s << u"0"_s << true;
        QTest::newRow("portrait any case") << QString() << u"Page Orientation"_s << u"PORTRAIT"_s
                                           << u"portrait"_s << u"1"_s << true;
        QTest::newRow("a look-alike of a row's name is no row")
                << QString() << u"tItLe"_s << u"x"_s << u"title"_s << u"Sales"_s << false;
        QTest::newRow("report ignores a band row")
                << QString() << u"Band Height"_s << u"9"_s << u"height"_s << u"29700"_s << false;
        QTest::newRow("group row does nothing")
                << QString() << u"Page Size"_s << u"1, 2"_s << u"height"_s << u"29700"_s << false;
        QTest::newRow("read-only row does nothing")
                << QString() << u"(File Name)"_s << u"x"_s << u"title"_s << u"Sales"_s << false;

        // Bands.
        QTest::newRow("band height 12")
                << u"Orders"_s << u"Band Height"_s << u"12"_s << u"height"_s << u"1200"_s << true;
        QTest::newRow("page break height is stored")
                << u"Break"_s << u"Band Height"_s << u"3"_s << u"height"_s << u"300"_s << true;
        QTest::newRow("band query keeps line breaks")
                << u"Orders"_s << u"SQL Query"_s << u"SELECT a,\n  b\r\nFROM t"_s << u"query"_s
                << u"SELECT a,\n  b\r\nFROM t"_s << true;
        QTest::newRow("band query emptied")
                << u"Orders"_s << u"SQL Query"_s << QString() << u"query"_s << QString() << true;
        QTest::newRow("parent data source") << u"Orders"_s << u"Parent Data Source"_s << u"End"_s
                                            << u"parent"_s << u"End"_s << true;
        QTest::newRow("group header") << u"Orders"_s << u"Group Header"_s << QString()
                                      << u"header"_s << QString() << true;
        QTest::newRow("group footer") << u"Orders"_s << u"Group Footer"_s << u"Groups"_s
                                      << u"footer"_s << u"Groups"_s << true;
        QTest::newRow("print on first page True") << u"Top"_s << u"Print On First Page"_s
                                                  << u"True"_s << u"first"_s << u"1"_s << true;
        QTest::newRow("print on first page False") << u"Top"_s << u"Print On First Page"_s
                                                   << u"false"_s << u"first"_s << u"0"_s << true;
        QTest::newRow("start a new page after") << u"Orders"_s << u"Start New Page"_s << u"after"_s
                                                << u"paging"_s << u"2 0 0 0 0"_s << true;
        QTest::newRow("start new page unknown") << u"Orders"_s << u"Start New Page"_s << u"Later"_s
                                                << u"paging"_s << u"0 0 0 0 0"_s << false;
        QTest::newRow("page numbers start again")
                << u"Orders"_s << u"Reset Page Number"_s << u"Yes"_s << u"paging"_s
                << u"0 1 0 0 0"_s << true;
        QTest::newRow("report footer kept together") << u"End"_s << u"Keep Together"_s << u"Yes"_s
                                                     << u"paging"_s << u"0 0 0 0 1"_s << true;
        QTest::newRow("columns at most 100") << u"Orders"_s << u"Columns"_s << u"500"_s
                                             << u"columns"_s << u"100 0 0 0 0 0"_s << true;
        QTest::newRow("column gap in millimetres") << u"Orders"_s << u"Column Gap"_s << u"3"_s
                                                   << u"columns"_s << u"1 300 0 0 0 0"_s << true;
        QTest::newRow("columns down then across")
                << u"Orders"_s << u"Column Order"_s << u"Down Then Across"_s << u"columns"_s
                << u"1 0 1 0 0 0"_s << true;
        QTest::newRow("labels skipped, never below 0") << u"Orders"_s << u"Skip Labels"_s << u"-4"_s
                                                       << u"columns"_s << u"1 0 0 0 0 0"_s << true;
        QTest::newRow("print on first page only for page headers")
                << u"Orders"_s << u"Print On First Page"_s << u"False"_s << u"first"_s << u"1"_s
                << false;

        // Position rows of every item kind; the other edges keep their values.
        QTest::newRow("text left") << u"Text 1"_s << u"Left"_s << u"60"_s << u"rect"_s
                                   << u"6000 199 5000 2050"_s << true;
        QTest::newRow("text right below left") << u"Text 1"_s << u"Right"_s << u"-40"_s << u"rect"_s
                                               << u"-150 199 -4000 2050"_s << true;
        QTest::newRow("db text top")
                << u"Amount"_s << u"Top"_s << u"7"_s << u"rect"_s << u"1000 700 3000 500"_s << true;
        QTest::newRow("shape bottom")
                << u"Shape 1"_s << u"Bottom"_s << u"0"_s << u"rect"_s << u"0 0 10000 0"_s << true;
        QTest::newRow("image left")
                << u"Logo"_s << u"Left"_s << u"2"_s << u"rect"_s << u"200 100 2100 2100"_s << true;
        QTest::newRow("db image right")
                << u"Photo"_s << u"Right"_s << u"9"_s << u"rect"_s << u"0 0 900 0"_s << true;
        QTest::newRow("barcode top")
                << u"Code"_s << u"Top"_s << u"4"_s << u"rect"_s << u"0 400 3800 2500"_s << true;
        QTest::newRow("db barcode bottom")
                << u"EAN"_s << u"Bottom"_s << u"33"_s << u"rect"_s << u"0 0 0 3300"_s << true;

        // Text and DB Text.
        QTest::newRow("text colour") << u"Text 1"_s << u"Text Color"_s << u"0x123456"_s
                                     << u"color"_s << u"0x123456"_s << true;
        QTest::newRow("text name")
                << u"Text 1"_s << u"Name"_s << u"Greeting"_s << u"name"_s << u"Greeting"_s << true;
        QTest::newRow("text horizontal Right") << u"Text 1"_s << u"Horizontal Alignment"_s
                                               << u"Right"_s << u"align"_s << u"1 1"_s << true;
        QTest::newRow("text horizontal left any case")
                << u"Text 1"_s << u"Horizontal Alignment"_s << u"LEFT"_s << u"align"_s << u"0 1"_s
                << true;
        QTest::newRow("text horizontal Stretch is no text choice")
                << u"Text 1"_s << u"Horizontal Alignment"_s << u"Stretch"_s << u"align"_s
                << u"2 1"_s << false;
        QTest::newRow("text vertical Bottom") << u"Text 1"_s << u"Vertical Alignment"_s
                                              << u"Bottom"_s << u"align"_s << u"2 2"_s << true;
        QTest::newRow("text vertical Top") << u"Text 1"_s << u"Vertical Alignment"_s << u"Top"_s
                                           << u"align"_s << u"2 0"_s << true;
        QTest::newRow("word wrap True")
                << u"Text 1"_s << u"Word Wrap"_s << u"True"_s << u"wrap"_s << u"1"_s << true;
        QTest::newRow("word wrap unknown")
                << u"Text 1"_s << u"Word Wrap"_s << u"Yes"_s << u"wrap"_s << u"0"_s << false;
        QTest::newRow("text text")
                << u"Text 1"_s << u"Text"_s << u"Bye"_s << u"text"_s << u"Bye"_s << true;
        QTest::newRow("text can grow")
                << u"Text 1"_s << u"Can Grow"_s << u"yes"_s << u"grow"_s << u"1"_s << true;
        QTest::newRow("can grow unknown")
                << u"Text 1"_s << u"Can Grow"_s << u"True"_s << u"grow"_s << u"0"_s << false;
        QTest::newRow("db text stops growing")
                << u"Amount"_s << u"Can Grow"_s << u"No"_s << u"grow"_s << u"0"_s << true;
        QTest::newRow("aggregate Count") << u"Amount"_s << u"Aggregate"_s << u"Count"_s
                                         << u"aggregate"_s << u"2 1"_s << true;
        QTest::newRow("aggregate None")
                << u"Amount"_s << u"Aggregate"_s << u"none"_s << u"aggregate"_s << u"0 1"_s << true;
        QTest::newRow("aggregate over Report") << u"Amount"_s << u"Aggregate Over"_s << u"Report"_s
                                               << u"aggregate"_s << u"1 2"_s << true;
        QTest::newRow("aggregate unknown") << u"Amount"_s << u"Aggregate"_s << u"Total"_s
                                           << u"aggregate"_s << u"1 1"_s << false;
        QTest::newRow("text has no aggregate")
                << u"Text 1"_s << u"Aggregate"_s << u"Sum"_s << u"grow"_s << u"0"_s << false;
        QTest::newRow("text has no data field")
                << u"Text 1"_s << u"Data Field"_s << u"x"_s << u"text"_s << u"Hello"_s << false;
        QTest::newRow("db text colour")
                << u"Amount"_s << u"Text Color"_s << u"0xff"_s << u"color"_s << u"0xff"_s << true;
        QTest::newRow("db text word wrap False")
                << u"Amount"_s << u"Word Wrap"_s << u"False"_s << u"wrap"_s << u"0"_s << true;
        QTest::newRow("db text source") << u"Amount"_s << u"Data Source"_s << u"Groups"_s
                                        << u"source"_s << u"Groups"_s << true;
        QTest::newRow("db text field")
                << u"Amount"_s << u"Data Field"_s << u"total"_s << u"field"_s << u"total"_s << true;
        QTest::newRow("db text format")
                << u"Amount"_s << u"Data Format"_s << u"%.2f"_s << u"format"_s << u"%.2f"_s << true;
        QTest::newRow("db text expression, blanks around it dropped")
                << u"Amount"_s << u"Expression"_s << u" [A] * 2 "_s << u"expression"_s
                << u"[A] * 2|"_s << true;
        QTest::newRow("db text display format")
                << u"Amount"_s << u"Display Format"_s << u"#,##0.00"_s << u"expression"_s
                << u"|#,##0.00"_s << true;
        QTest::newRow("db text print when") << u"Amount"_s << u"Print When"_s << u"[A] > 1"_s
                                            << u"when"_s << u"[A] > 1"_s << true;
        QTest::newRow("band print when") << u"Orders"_s << u"Print When"_s << u"#ROW < 3"_s
                                         << u"when"_s << u"#ROW < 3"_s << true;
        QTest::newRow("report locale")
                << QString() << u"Locale"_s << u" de_DE"_s << u"locale"_s << u"de_DE"_s << true;
        // The full query is stored: its one-line form would let the "--"
        // comment swallow the rest and squeeze the blanks inside the string.
        QTest::newRow("db text query keeps its lines")
                << u"Amount"_s << u"SQL Query"_s
                << u"SELECT a -- total\r\nFROM t\nWHERE s = 'a  b'"_s << u"query"_s
                << u"SELECT a -- total\r\nFROM t\nWHERE s = 'a  b'"_s << true;
        QTest::newRow("db text ignores a Text row")
                << u"Amount"_s << u"Text"_s << u"x"_s << u"text"_s << QString() << false;

        // Shape.
        QTest::newRow("shape colour") << u"Shape 1"_s << u"Color"_s << u"0xabcdef"_s << u"color"_s
                                      << u"0xabcdef"_s << true;
        QTest::newRow("shape background") << u"Shape 1"_s << u"Background Color"_s << u"0"_s
                                          << u"bkcolor"_s << u"0x0"_s << true;
        QTest::newRow("shape name")
                << u"Shape 1"_s << u"Name"_s << u"Box"_s << u"name"_s << u"Box"_s << true;
        QTest::newRow("shape type Ellipse") << u"Shape 1"_s << u"Shape Type"_s << u"ellipse"_s
                                            << u"shape"_s << u"5 2"_s << true;
        QTest::newRow("shape type Vertical Line")
                << u"Shape 1"_s << u"Shape Type"_s << u"Vertical Line"_s << u"shape"_s << u"3 2"_s
                << true;
        QTest::newRow("shape type unknown")
                << u"Shape 1"_s << u"Shape Type"_s << u"Star"_s << u"shape"_s << u"2 2"_s << false;
        QTest::newRow("line style Solid")
                << u"Shape 1"_s << u"Line Style"_s << u"Solid"_s << u"shape"_s << u"2 1"_s << true;
        QTest::newRow("shape has no Text Color") << u"Shape 1"_s << u"Text Color"_s << u"0x1"_s
                                                 << u"color"_s << u"0xff00"_s << false;

        // Images.
        QTest::newRow("image horizontal Stretch") << u"Logo"_s << u"Horizontal Alignment"_s
                                                  << u"Stretch"_s << u"align"_s << u"3 7"_s << true;
        QTest::newRow("image vertical Center") << u"Logo"_s << u"Vertical Alignment"_s
                                               << u"Center"_s << u"align"_s << u"1 1"_s << true;
        QTest::newRow("image vertical Bottom") << u"Logo"_s << u"Vertical Alignment"_s
                                               << u"Bottom"_s << u"align"_s << u"1 2"_s << true;
        QTest::newRow("image name")
                << u"Logo"_s << u"Name"_s << u"Logo 2"_s << u"name"_s << u"Logo 2"_s << true;
        QTest::newRow("db image horizontal Left") << u"Photo"_s << u"Horizontal Alignment"_s
                                                  << u"Left"_s << u"align"_s << u"0 3"_s << true;
        QTest::newRow("db image source")
                << u"Photo"_s << u"Data Source"_s << u"Top"_s << u"source"_s << u"Top"_s << true;
        QTest::newRow("db image field")
                << u"Photo"_s << u"Data Field"_s << u"face"_s << u"field"_s << u"face"_s << true;
        QTest::newRow("image has no data source")
                << u"Logo"_s << u"Data Source"_s << u"Top"_s << u"name"_s << u"Logo"_s << false;

        // Barcodes.
        QTest::newRow("barcode value")
                << u"Code"_s << u"Barcode"_s << u"123"_s << u"barcode"_s << u"123"_s << true;
        QTest::newRow("barcode name")
                << u"Code"_s << u"Name"_s << u"B"_s << u"name"_s << u"B"_s << true;
        QTest::newRow("db barcode source")
                << u"EAN"_s << u"Data Source"_s << u"End"_s << u"source"_s << u"End"_s << true;
        QTest::newRow("db barcode field")
                << u"EAN"_s << u"Data Field"_s << u"code"_s << u"field"_s << u"code"_s << true;
        QTest::newRow("symbology") << u"Code"_s << u"Symbology"_s << u"QR Code"_s << u"symbology"_s
                                   << u"3 1 1"_s << true;
        QTest::newRow("db barcode symbology") << u"EAN"_s << u"Symbology"_s << u"itf-14"_s
                                              << u"symbology"_s << u"9 1 1"_s << true;
        QTest::newRow("a symbology that is none") << u"Code"_s << u"Symbology"_s << u"Aztec"_s
                                                  << u"symbology"_s << u"0 1 1"_s << false;
        QTest::newRow("db barcode has no Barcode row")
                << u"EAN"_s << u"Barcode"_s << u"1"_s << u"barcode"_s << QString() << false;
    }
    // The rows of a symbol's options are there only for the symbologies they apply to.
    void barcodeOptionEdits_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("error correction")
                << 3 << u"Error Correction"_s << u"Q (25%)"_s << u"3 2 1"_s;
        QTest::newRow("show text") << 1 << u"Show Text"_s << u"No"_s << u"1 1 0"_s;
        QTest::newRow("no error correction for EAN-13")
                << 0 << u"Error Correction"_s << u"Q (25%)"_s << u"0 1 1"_s;
    }
    void barcodeOptionEdits()
    {
        QFETCH(int, symbology);
        QFETCH(QString, row);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        CVornReport report;
        Fill(report);
        auto *code = static_cast<CVornBarcode *>(report.FindByName(u"Code"_s));
        code->SetSymbology(symbology);
        const CEditResult result = ApplyEdit(report, code, MakeEdit(report, code, row, value), 96);
        QCOMPARE(Field(report, code, u"symbology"_s), expected);
        QCOMPARE(result.changed, symbology != 0);
    }
    void edits()
    {
        QFETCH(QString, object);
        QFETCH(QString, row);
        QFETCH(QString, value);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QFETCH(bool, changed);
        CVornReport report;
        Fill(report);
        CVornElement *element = object.isEmpty() ? nullptr : report.FindByName(object);
        QVERIFY(object.isEmpty() || element);

        const CEditResult result
                = ApplyEdit(report, element, MakeEdit(report, element, row, value), 96);
        QCOMPARE(Field(report, element, field), expected);
        QCOMPARE(result.changed, changed);
        QVERIFY(result.message.isEmpty());
        QVERIFY(!result.nameRefused);
        // Only report-level edits may change the page size.
        QCOMPARE(result.pageSizeChanged, changed && object.isEmpty());
    }

    // A chart's rows, each edit named by its row id ("id=value"; a colour's value is the
    // colour): the series as "name:value:colour" ("-" for the palette's), then type, rows,
    // legend, value labels and category.
    void chartEdits_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a value makes the first series")
                << QStringList {u"series1_value= AMOUNT "_s} << u":AMOUNT:- 0 0 0 0 "_s;
        QTest::newRow("a third series keeps empty ones before it")
                << QStringList {u"series3_name=C"_s} << u"::-|::-|C::- 0 0 0 0 "_s;
        QTest::newRow("emptying the last series drops the empty tail")
                << QStringList {u"series1_value=A"_s, u"series3_value=B"_s, u"series3_value="_s}
                << u":A:- 0 0 0 0 "_s;
        QTest::newRow("a colour of its own")
                << QStringList {u"series2_color=255"_s} << u"::-|::255 0 0 0 0 "_s;
        QTest::newRow("the palette's colour again follows the palette")
                << QStringList {u"series1_value=A"_s, u"series1_color=255"_s,
                                u"series1_color=%1"_s.arg(CChartSeriesSetting::PaletteColor(0))}
                << u":A:- 0 0 0 0 "_s;
        QTest::newRow("type, rows, legend, labels and category by their names")
                << QStringList {u"chart_type=Doughnut"_s, u"chart_over=Report"_s,
                                u"legend=Bottom"_s, u"value_labels=Yes"_s, u"category=[A] & 'x'"_s}
                << u" 6 2 2 1 [A] & 'x'"_s;
        QTest::newRow("a type that is none changes nothing")
                << QStringList {u"chart_type=Radar"_s} << u" 0 0 0 0 "_s;
    }
    void chartEdits()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, expected);
        CVornReport report;
        Fill(report);
        auto *chart = new CVornChart;
        report.GetBands()[0]->GetItems().Add(chart);
        for (const QString &text : std::as_const(edits)) {
            CRowEdit edit;
            edit.id = text.section(u'=', 0, 0);
            edit.value = text.section(u'=', 1);
            edit.color = edit.value.toUInt();
            ApplyEdit(report, chart, edit, 96);
        }
        QStringList series;
        for (const CChartSeriesSetting &one : chart->GetSeries())
            series << u"%1:%2:%3"_s.arg(one.name, one.value,
                                        one.color ? QString::number(*one.color) : u"-"_s);
        QCOMPARE(u"%1 %2 %3 %4 %5 %6"_s.arg(series.join(u'|'))
                         .arg(chart->GetChartType())
                         .arg(chart->GetOver())
                         .arg(chart->GetLegend())
                         .arg(chart->GetValueLabels())
                         .arg(chart->GetCategory()),
                 expected);
    }

    // A band made a group header here keeps with its group's first row; a band that heads a
    // group already keeps what the user gave it.
    void newGroupHeaderKeepsWithNext()
    {
        CVornReport report;
        Fill(report);
        CVornElement *groups = report.FindByName(u"Groups"_s);
        CVornElement *orders = report.FindByName(u"Orders"_s);
        ApplyEdit(report, groups, MakeEdit(report, groups, u"Group Header"_s, u"Orders"_s), 96);
        QCOMPARE(Field(report, orders, u"paging"_s), u"0 0 1 0 0"_s);
        ApplyEdit(report, groups, MakeEdit(report, groups, u"Group Header"_s, QString()), 96);
        ApplyEdit(report, orders, MakeEdit(report, orders, u"Group Header"_s, u"Groups"_s), 96);
        QCOMPARE(Field(report, groups, u"paging"_s), u"0 0 0 0 0"_s);
    }

    void typedLengths_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("plain") << u"12"_s << 1200;
        QTest::newRow("negative") << u"-5"_s << -500;
        QTest::newRow("plus sign") << u"+7"_s << 700;
        QTest::newRow("leading blanks") << u"  8"_s << 800;
        QTest::newRow("trailing text") << u"15 mm"_s << 1500;
        QTest::newRow("decimals kept") << u"2.9"_s << 290;
        QTest::newRow("a hundredth") << u"1.05 mm"_s << 105;
        QTest::newRow("a comma") << u"-0,25"_s << -25;
        QTest::newRow("a third decimal rounds") << u"1.005"_s << 101;
        QTest::newRow("decimals alone") << u".5"_s << 50;
        QTest::newRow("no number") << u"abc"_s << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("sign only") << u"-"_s << 0;
        QTest::newRow("beyond int after x100") << u"21474837"_s << std::numeric_limits<int>::max();
        QTest::newRow("below int after x100") << u"-21474837"_s << std::numeric_limits<int>::min();
        QTest::newRow("far beyond int")
                << u"99999999999999999999"_s << std::numeric_limits<int>::max();
        QTest::newRow("largest that fits") << u"21474836"_s << 2147483600;
    }
    void typedLengths()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        CVornReport report;
        Fill(report);
        CVornElement *band = report.FindByName(u"Orders"_s);
        CRowEdit edit;
        edit.id = RowId::BandHeight;
        edit.value = typed;
        QVERIFY(ApplyEdit(report, band, edit, 96).changed);
        QCOMPARE(static_cast<CVornBand *>(band)->GetHeight(), stored);
    }

    void duplicateNames_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("item to a sibling's name in other case")
                << u"Text 1"_s << u"amount"_s << true;
        QTest::newRow("item to its own name in other case") << u"Text 1"_s << u"TEXT 1"_s << false;
        QTest::newRow("item to a band's name") << u"Code"_s << u"Orders"_s << false;
        QTest::newRow("item to an item's name on another band")
                << u"Code"_s << u"Footnote"_s << false;
        QTest::newRow("band to another band's name") << u"Break"_s << u"END"_s << true;
        QTest::newRow("band to an item's name") << u"End"_s << u"Logo"_s << false;
        QTest::newRow("barcode to a sibling's name") << u"EAN"_s << u"Code"_s << true;
    }
    void duplicateNames()
    {
        QFETCH(QString, object);
        QFETCH(QString, name);
        QFETCH(bool, refused);
        CVornReport report;
        Fill(report);
        AddItem<CVornText>(report.GetBands()[4], u"Footnote"_s);
        CVornElement *element = report.FindByName(object);
        CRowEdit edit;
        edit.id = RowId::Name;
        edit.value = name;
        const CEditResult result = ApplyEdit(report, element, edit, 96);
        QCOMPARE(result.nameRefused, refused);
        QCOMPARE(result.changed, !refused);
        QCOMPARE(result.message, refused ? u"Duplicate object name: "_s + name : QString());
        QCOMPARE(element->GetName(), refused ? object : name);
    }

    void bandRename_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("references");
        QTest::newRow("new name") << u"Lines"_s << u"Lines"_s << u"Lines"_s;
        QTest::newRow("only the case changes") << u"detail"_s << u"detail"_s << u"detail"_s;
        QTest::newRow("empty name changes nothing") << QString() << u"Detail"_s << u"Detail"_s;
        QTest::newRow("same name changes nothing") << u"Detail"_s << u"Detail"_s << u"Detail"_s;
    }
    // Group headers, group footers and DB Text data sources of every band that
    // name the band (in any case) follow the new name; parent data sources and
    // the sources of DB Image and DB Barcode items do not.
    void bandRename()
    {
        QFETCH(QString, newName);
        QFETCH(QString, stored);
        QFETCH(QString, references);
        CVornReport report;
        CVornBand *detail = AddBand(report, VornKind::ReportContents, u"Detail"_s);
        detail->SetHeader(u"DETAIL"_s);
        CVornBand *other = AddBand(report, VornKind::ReportContents, u"Other"_s);
        other->SetHeader(u"detail"_s);
        other->SetFooter(u"Detail"_s);
        other->SetParentDataSource(u"Detail"_s);
        auto *text1 = AddItem<CVornDbText>(detail, u"T1"_s);
        text1->SetDataSource(u"Detail"_s);
        auto *text2 = AddItem<CVornDbText>(other, u"T2"_s);
        text2->SetDataSource(u"dEtAiL"_s);
        auto *text3 = AddItem<CVornDbText>(other, u"T3"_s);
        text3->SetDataSource(u"Details"_s);
        auto *image = AddItem<CVornDbImage>(other, u"I"_s);
        image->SetDataSource(u"Detail"_s);
        auto *barcode = AddItem<CVornDbBarcode>(other, u"B"_s);
        barcode->SetDataSource(u"Detail"_s);

        CRowEdit edit;
        edit.id = RowId::Name;
        edit.value = newName;
        const CEditResult result = ApplyEdit(report, detail, edit, 96);
        QVERIFY(result.changed);
        QVERIFY(result.message.isEmpty());

        QCOMPARE(detail->GetName(), stored);
        const bool renamed = references != u"Detail"_s;
        QCOMPARE(detail->GetHeader(), renamed ? references : u"DETAIL"_s);
        QCOMPARE(other->GetHeader(), renamed ? references : u"detail"_s);
        QCOMPARE(other->GetFooter(), references);
        QCOMPARE(text1->GetDataSource(), references);
        QCOMPARE(text2->GetDataSource(), renamed ? references : u"dEtAiL"_s);
        QCOMPARE(text3->GetDataSource(), u"Details"_s);
        QCOMPARE(other->GetParentDataSource(), u"Detail"_s);
        QCOMPARE(image->GetDataSource(), u"Detail"_s);
        QCOMPARE(barcode->GetDataSource(), u"Detail"_s);
    }

    // A refused band name leaves every reference alone.
    void refusedBandRenameChangesNothing()
    {
        CVornReport report;
        CVornBand *a = AddBand(report, VornKind::ReportContents, u"A"_s);
        CVornBand *b = AddBand(report, VornKind::ReportContents, u"B"_s);
        b->SetHeader(u"A"_s);
        AddItem<CVornDbText>(b, u"T"_s)->SetDataSource(u"A"_s);
        CRowEdit edit;
        edit.id = RowId::Name;
        edit.value = u"b"_s;
        QVERIFY(ApplyEdit(report, a, edit, 96).nameRefused);
        QCOMPARE(a->GetName(), u"A"_s);
        QCOMPARE(b->GetHeader(), u"A"_s);
        QCOMPARE(static_cast<CVornDbText *>(b->GetItems()[0])->GetDataSource(), u"A"_s);
    }

    void fonts_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("weight");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bold");
        QTest::newRow("16 pixels at 96 dpi") << -16 << 400 << 96 << 12 << 0;
        QTest::newRow("positive height") << 16 << 400 << 96 << 12 << 0;
        QTest::newRow("13 pixels round to 10 points") << -13 << 700 << 96 << 10 << 1;
        QTest::newRow("half rounds up") << -2 << 400 << 96 << 2 << 0;
        QTest::newRow("120 dpi") << -17 << 400 << 120 << 10 << 0;
        QTest::newRow("weight 600 is bold") << -16 << 600 << 96 << 12 << 1;
        QTest::newRow("weight 599 is not") << -16 << 599 << 96 << 12 << 0;
        QTest::newRow("black") << -16 << 900 << 96 << 12 << 1;
        QTest::newRow("zero height") << 0 << 400 << 96 << 0 << 0;
        QTest::newRow("huge height")
                << std::numeric_limits<int>::min() << 400 << 96 << 1610612736 << 0;
    }
    // The chosen font goes into the item's font fields, and its colour is the text's colour.
    void fonts()
    {
        QFETCH(int, height);
        QFETCH(int, weight);
        QFETCH(int, dpi);
        QFETCH(int, size);
        QFETCH(int, bold);
        CVornReport report;
        Fill(report);
        auto *text = static_cast<CVornDbText *>(report.FindByName(u"Amount"_s));
        CRowEdit edit;
        edit.id = RowId::Font;
        edit.font.faceName = u"Courier New"_s;
        edit.font.height = height;
        edit.font.weight = weight;
        edit.font.underline = true;
        edit.font.strikeOut = true;
        edit.font.charset = 204;
        edit.font.color = 0x00FF00;
        QVERIFY(ApplyEdit(report, text, edit, dpi).changed);
        QCOMPARE(text->GetFontName(), u"Courier New"_s);
        QCOMPARE(text->GetFontSize(), size);
        QCOMPARE(text->GetBold(), bold);
        QCOMPARE(text->GetItalic(), 0);
        QCOMPARE(text->GetUnderline(), 1);
        QCOMPARE(text->GetStrikeout(), 1);
        QCOMPARE(text->GetCharset(), 204);
        QCOMPARE(text->GetColor(), 0x00FF00u);
    }

    // The font row's font taken from an item and written back unchanged gives
    // the same fields, at any resolution.
    void fontRoundTrip_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("dpi");
        for (int dpi : {72, 96, 120, 144}) {
            for (int points : {6, 7, 8, 9, 10, 11, 13, 36}) {
                QTest::addRow("%d pt at %d dpi", points, dpi) << points << dpi;
            }
        }
    }
    void fontRoundTrip()
    {
        QFETCH(int, points);
        QFETCH(int, dpi);
        CVornText item;
        item.SetFontSize(points);
        item.SetBold(1);
        item.SetCharset(238);
        CVornText copy;
        StoreItemFont(copy, ItemFont(item, dpi), dpi);
        QCOMPARE(copy.GetFontSize(), points);
        QCOMPARE(copy.GetBold(), 1);
        QCOMPARE(copy.GetCharset(), 238);
        QCOMPARE(copy.GetFontName(), u"Times New Roman"_s);
    }

    void imageFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("picture read") << u"a.png"_s << QByteArray("\x89PNG\0data", 9) << QString()
                                      << QByteArray("\x89PNG\0data", 9);
        QTest::newRow("empty file leaves no picture")
                << u"empty.png"_s << QByteArray("") << QString() << QByteArray();
        QTest::newRow("missing file keeps the picture")
                << u"missing.png"_s << QByteArray() << u"File does not exist: \"%1\""_s
                << QByteArray("old");
        QTest::newRow("folder keeps the picture")
                << QString() << QByteArray() << u"Failed to open the file: \"%1\""_s
                << QByteArray("old");
    }
    // A failed read shows the reader's message but counts as a change.
    void imageFile()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QByteArray, stored);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = file.isEmpty() ? dir.path() : dir.filePath(file);
        if (!bytes.isNull())
            QVERIFY(TestUtil::WriteAll(path, bytes));
        CVornReport report;
        Fill(report);
        auto *logo = static_cast<CVornImage *>(report.FindByName(u"Logo"_s));
        logo->SetImageData(QByteArray("old"));
        CRowEdit edit;
        edit.id = RowId::ImageFile;
        edit.value = path;
        const CEditResult result = ApplyEdit(report, logo, edit, 96);
        QVERIFY(result.changed);
        QCOMPARE(result.message, message.isEmpty() ? QString() : message.arg(path));
        QCOMPARE(logo->GetImageData(), stored);
    }

    // Objects whose kind has no handler, or whose class does not fit their
    // kind, are left alone.
    void noHandler()
    {
        CVornReport report;
        CVornBand unknown(13, u"X"_s);
        CRowEdit edit;
        edit.id = RowId::Name;
        edit.value = u"Y"_s;
        QVERIFY(!ApplyEdit(report, &unknown, edit, 96).changed);
        QCOMPARE(unknown.GetName(), u"X"_s);
        CVornBand wrongClass(VornKind::Barcode, u"X"_s);
        QVERIFY(!ApplyEdit(report, &wrongClass, edit, 96).changed);
        QCOMPARE(wrongClass.GetName(), u"X"_s);
    }
};

VANTEL_TEST_CLASS(TestPropertyEdit)
#include "tst_propertyedit.moc"
