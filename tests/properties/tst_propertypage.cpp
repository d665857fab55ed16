#include "propertypage.h"
#include "samplereport.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace SampleReport;

namespace {

const QString positionDescriptions[] = {
        u"Specifies the X coordinate or the upper-left corner of the text bounding rectangle (mm)"_s,
        u"Specifies the Y coordinate or the upper-left corner of the text bounding rectangle (mm)"_s,
        u"Specifies the X coordinate or the bottom-right corner of the text bounding rectangle (mm)"_s,
        u"Specifies the Y coordinate or the bottom-right corner of the text bounding rectangle (mm)"_s,
};

QStringList Position(const QString &left, const QString &top, const QString &right,
                     const QString &bottom)
{
    return {u"Position = %1, %2, %3, %4 [group]"_s.arg(left, top, right, bottom),
            u"  Left = "_s + left + u" [integer] : "_s + positionDescriptions[0],
            u"  Top = "_s + top + u" [integer] : "_s + positionDescriptions[1],
            u"  Right = "_s + right + u" [integer] : "_s + positionDescriptions[2],
            u"  Bottom = "_s + bottom + u" [integer] : "_s + positionDescriptions[3]};
}

const QString wordWrapDescription
        = u"Breaks words. Lines are automatically broken between words if a word would extend "
          "past the edge of the text rectangle"_s;
const QString printWhen
        = u"Print When =  [expression] : A condition: the object prints only where it is true "
          "(empty: always). A band that does not print takes no space; an item leaves its space "
          "empty"_s;
const QString styles = u"Styles = (none) [styles] : Up to 8 rules: the first whose condition is "
                       "true sets the colour, background, bold and italic of that printing"_s;
const QString bandListDescription
        = u"The name of the band containing the SQL query this DB text label will display the "
          "data from"_s;

CVornElement *Find(CVornReport &report, const QString &name)
{
    return name.isEmpty() ? nullptr : report.FindByName(name);
}

} // namespace

// The rows of every page: names, order, values, row kinds, options and
// descriptions.
class TestPropertyPage : public QObject
{
    Q_OBJECT

private slots:
    void page_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QStringList>("expected");

        // The long texts are kept as the tables give them.
        // clang-format off
        QTest::newRow("report") << QString() << QStringList{
                u"(Object) = Entire Report [read-only] : This option shows you the type of the "
                "object (at the moment - the entire report) you've selected"_s,
                u"(File Name) = /home/ann/sales.vnt [read-only] : The currently selected report "
                "disk file name"_s,
                u"Title = Sales [text] : The currently selected report title that will display "
                "in the Print Preview window"_s,
                u"Page Orientation = Portrait [option] {Portrait|Landscape} : Page orientation: "
                "vertically (portrait) or horizontally (landscape)"_s,
                u"Page Size = 297, 210 [group]"_s,
                u"  Height = 297 [integer] : The report page height in millimetres"_s,
                u"  Width = 210 [integer] : The report page width in millimetres"_s,
                u"Database Type = FireBird [option] {None|SQLite|ODBC} : Please select \"None\" "
                "if the report will receive data from a callback function, or select a database "
                "type from the list"_s,
                u"Database Connection String = /data/shop.db [text] : Database connection "
                "string: full path name for SQLite databases, login:password@alias for "
                "FireBird (the login ends at the first colon and the alias starts after the "
                "last @, so the password may hold both), the driver manager's connection "
                "string for ODBC. Right-click for Test Connection"_s,
                u"Locale =  [suggest] : The separators and month names of Display Formats, such "
                "as de_DE; empty: the C conventions (1,234.50, March)"_s,
        };

        const QString bandObject = u" [read-only] : You have selected a report band that is "
                                   "used to carry data on it"_s;
        const QString bandName = u" [text] : Report band name. Used when printing the report"_s;
        const QString bandHeight = u" [integer] : Band height in millimetres"_s;
        const QString bandSql
                = u" [SQL] : SQL query used to retrieve data from the database"_s;
        const QString parent = u" : For database reports: the band that contains an SQL query "
                               "used to supply parameters for this band's query"_s;
        const QString keepWithNext
                = u"Keep With Next = No [option] {Yes|No} : Yes: the band moves to the next page "
                  "when the band printed after it does not fit below it, so that a group header "
                  "never ends a page"_s;
        const QString keepTogether
                = u"Keep Together = No [option] {Yes|No} : Yes: the band with its details (a "
                  "group header: its whole group) moves to a new page rather than break, when it "
                  "fits on one"_s;
        QTest::newRow("Report Contents band") << u"Orders"_s << QStringList{
                u"(Object) = Report Contents"_s + bandObject,
                u"Name = Orders"_s + bandName,
                u"Band Height = 25.99"_s + bandHeight,
                u"SQL Query = SELECT * FROM orders"_s + bandSql,
                u"Parent Data Source = Top [option] {|Top|Groups|Break|End}"_s + parent,
                u"Group Header = Groups [option] {|Groups} : The name of the report band which "
                "acts as a group header band for this band"_s,
                u"Group Footer =  [option] {|Groups} : If this band acts as a group header, "
                "please specify group footer band here"_s,
                printWhen,
                u"Start New Page = No [option] {No|Before|After} : Before: the band starts a new "
                "page; After: the page ends after the band and its details. Never an empty "
                "page"_s,
                u"Reset Page Number = No [option] {Yes|No} : Yes: each time the band prints it "
                "starts a new page whose number is 1, and the page count counts the pages up to "
                "the next such band (an invoice run: Page 1 of 2 on every invoice)"_s,
                keepWithNext,
                u"Repeat Header = No [option] {Yes|No} : For a group header band: Yes prints it "
                "again at the top of each page its group goes on to"_s,
                keepTogether,
                u"Column Layout = 1, 0, Across Then Down, 0, 0, 0 [group]"_s,
                u"  Columns = 1 [integer] : The band's rows print side by side in this many "
                "columns; the band is designed in the first"_s,
                u"  Column Gap = 0 [integer] : The space between two columns in millimetres"_s,
                u"  Column Order = Across Then Down [option] {Across Then Down|Down Then Across} "
                ": The order in which the rows fill the columns"_s,
                u"  Column Width = 0 [integer] : The width of one column in millimetres; 0 shares "
                "the page's width out"_s,
                u"  First Column Left = 0 [integer] : Where the first column starts, in "
                "millimetres from the page's left edge, when the column width is set"_s,
                u"  Skip Labels = 0 [integer] : The number of column places (labels of a used "
                "sheet) left empty before the first row"_s,
        };
        QTest::newRow("Page Header band") << u"Top"_s << QStringList{
                u"(Object) = Page Header"_s + bandObject,
                u"Name = Top"_s + bandName,
                u"Band Height = 12"_s + bandHeight,
                u"SQL Query = "_s + bandSql,
                u"Parent Data Source =  [option] {|Orders|Groups|Break|End}"_s + parent,
                u"Print On First Page = False [option] {True|False} : Controls if this band "
                "will be printed on the very first report page"_s,
                printWhen,
        };
        QTest::newRow("Page Break band shows height 0") << u"Break"_s << QStringList{
                u"(Object) = Page Break"_s + bandObject,
                u"Name = Break"_s + bandName,
                u"Band Height = 0"_s + bandHeight,
                u"SQL Query = "_s + bandSql,
                u"Parent Data Source =  [option] {|Top|Orders|Groups|End}"_s + parent,
        };
        QTest::newRow("Report Footer band") << u"End"_s << QStringList{
                u"(Object) = Report Footer"_s + bandObject,
                u"Name = End"_s + bandName,
                u"Band Height = 9"_s + bandHeight,
                u"SQL Query = "_s + bandSql,
                u"Parent Data Source =  [option] {|Top|Orders|Groups|Break}"_s + parent,
                printWhen,
                keepWithNext,
                keepTogether,
        };

        const QString symbology
                = u"Symbology = %1 [option] {EAN-13|Code 128|GS1-128|QR Code|DataMatrix|PDF417|"
                  "EAN-8|UPC-A|Code 39|ITF-14} : The kind of barcode printed: EAN-13, the linear "
                  "Code 128, GS1-128, EAN-8, UPC-A, Code 39 and ITF-14, or the two-dimensional QR "
                  "Code, DataMatrix and PDF417"_s;
        const QString canGrow = u"Can Grow = %1 [option] {Yes|No} : Yes: a word-wrapped text is "
                                "printed as tall as its lines need (never shorter than its box), "
                                "and the items below it and its band move down with it"_s;
        const QString aggregateDescription
                = u"Prints, instead of the field's current value, its sum, count (of the rows "
                  "where it is not NULL, or of all rows when no field is named), average, minimum "
                  "or maximum over the rows of the data source band"_s;
        const QString overDescription
                = u"The rows the aggregate takes: Band, those printed since this item's band last "
                  "printed; Page, those on the current page; Report, all printed so far"_s;
        const QStringList textRows = QStringList{u"Name = Text 1 [text]"_s}
                                     + Position(u"-1.5"_s, u"1.99"_s, u"50"_s, u"20.5"_s)
                                     + QStringList{
                                             u"Font = Arial, 12, Bold, Italic [font] : Specifies "
                                             "the text font"_s,
                                             u"Text Color = #FF0000 [colour] : Specifies the text "
                                             "color"_s,
                                             u"Horizontal Alignment = Center [option] "
                                             "{Left|Center|Right} : Specifies how the text will be "
                                             "aligned horizontally"_s,
                                             u"Vertical Alignment = Center [option] "
                                             "{Top|Center|Bottom} : Specifies how the text will be "
                                             "aligned vertically"_s,
                                             u"Word Wrap = False [option] {True|False} : "_s
                                                     + wordWrapDescription,
                                     };
        QTest::newRow("Text") << u"Text 1"_s
                              << QStringList{u"(Object) = Text Label [read-only] : You have "
                                             "selected a text field"_s}
                                         + textRows
                                         + QStringList{u"Text = Hello [text] : The text that will "
                                                       "be written in this place when the report "
                                                       "will print"_s,
                                                       canGrow.arg(u"No"_s), printWhen, styles};

        QTest::newRow("DB Text")
                << u"Amount"_s
                << QStringList{u"(Object) = DB Text Label [read-only] : You have selected a "
                               "database field"_s,
                               u"Name = Amount [text]"_s}
                                   + Position(u"10"_s, u"0"_s, u"30"_s, u"5"_s)
                                   + QStringList{
                                           u"Font = Times New Roman, 10 [font] : Specifies the "
                                           "text font"_s,
                                           u"Text Color = #000000 [colour] : Specifies the text "
                                           "color"_s,
                                           u"Horizontal Alignment = Left [option] "
                                           "{Left|Center|Right} : Specifies how the text will be "
                                           "aligned horizontally"_s,
                                           u"Vertical Alignment = Top [option] "
                                           "{Top|Center|Bottom} : Specifies how the text will be "
                                           "aligned vertically"_s,
                                           u"Word Wrap = True [option] {True|False} : "_s
                                                   + wordWrapDescription,
                                           u"Data Source = Orders [option] "
                                           "{|Top|Orders|Groups|Break|End} : "_s
                                                   + bandListDescription,
                                           u"SQL Query = SELECT a, b FROM t [SQL] : SQL query "
                                           "used to receive this field data from the database for "
                                           "the case that you wish to receive it in a separate "
                                           "query rather than retrieve it from the query attached "
                                           "to the corresponding band"_s,
                                           u"Data Field = amount [text] : The name of the "
                                           "database field to display in this position"_s,
                                           u"Data Format = %d [text] : Data format in C/C++ "
                                           "rules, e.g. %s, %d, etc."_s,
                                           canGrow.arg(u"Yes"_s),
                                           u"Aggregate = Sum [option] {None|Sum|Count|Average|"
                                           "Minimum|Maximum} : "_s + aggregateDescription,
                                           u"Aggregate Over = Page [option] {Band|Page|Report} : "_s
                                                   + overDescription,
                                           u"Expression =  [expression] : Computes what the item "
                                           "prints instead of its field, e.g. [QUANTITY] * "
                                           "[PRICE]; the Display Format or Data Format writes "
                                           "it"_s,
                                           u"Display Format =  [suggest] : A date or number "
                                           "pattern that writes the value, in the report's "
                                           "Locale; it wins over the Data Format"_s,
                                           printWhen,
                                           styles,
                                   };

        QTest::newRow("Shape")
                << u"Shape 1"_s
                << QStringList{u"(Object) = Shape [read-only]"_s,
                               u"Shape Type = Rounded Rectangle [option] {Rectangle|Rounded "
                               "Rectangle|Vertical Line|Horizontal Line|Ellipse} : One of: "
                               "Rectangle, Rounded Rectangle, Vertical Line, Horizontal Line, "
                               "Ellipse"_s,
                               u"Name = Shape 1 [text]"_s}
                                   + Position(u"0"_s, u"0"_s, u"100"_s, u"1"_s)
                                   + QStringList{
                                           u"Color = #00FF00 [colour] : Specifies the shape "
                                           "color"_s,
                                           u"Background Color = #FFFFFF [colour] : Specifies the "
                                           "shape background color"_s,
                                           u"Line Style = Dotted [option] {Solid|Dotted} : Please "
                                           "select one pen style from the list"_s,
                                           printWhen,
                                           styles,
                                   };

        const QString imageObject
                = u"(Object) = Image [read-only] : You have selected an image"_s;
        const QString horz = u" [option] {Left|Center|Right|Stretch} : Specifies how the text "
                             "will be aligned horizontally"_s;
        const QString vert = u" [option] {Top|Center|Bottom|Stretch} : Specifies how the text "
                             "will be aligned vertically"_s;
        QTest::newRow("Image")
                << u"Logo"_s
                << QStringList{imageObject, u"Name = Logo [text]"_s}
                                   + Position(u"1"_s, u"1"_s, u"21"_s, u"21"_s)
                                   + QStringList{
                                           u"Horizontal Alignment = Right"_s + horz,
                                           u"Vertical Alignment = (Unknown)"_s + vert,
                                           u"Image File =  [file] : Please choose the image file "
                                           "that will be printed in the report"_s,
                                           printWhen,
                                   };
        QTest::newRow("DB Image")
                << u"Photo"_s
                << QStringList{imageObject, u"Name = Photo [text]"_s}
                                   + Position(u"0"_s, u"0"_s, u"0"_s, u"0"_s)
                                   + QStringList{
                                           u"Horizontal Alignment = Stretch"_s + horz,
                                           u"Vertical Alignment = Stretch"_s + vert,
                                           u"Data Source = Groups [option] "
                                           "{|Top|Orders|Groups|Break|End} : "_s
                                                   + bandListDescription,
                                           u"Data Field = pic [text] : The name of the database "
                                           "field to display in this position"_s,
                                           printWhen,
                                   };
        QTest::newRow("Barcode")
                << u"Code"_s
                << QStringList{u"(Object) = Barcode [read-only] : You have selected a barcode "
                               "field"_s,
                               u"Name = Code [text]"_s}
                                   + Position(u"0"_s, u"0"_s, u"38"_s, u"25"_s)
                                   + QStringList{u"Barcode = 4006381333931 [text] : The barcode "
                                                 "that will be displayed in this place when the "
                                                 "report will print"_s,
                                                 symbology.arg(u"EAN-13"_s),
                                                 printWhen};
        QTest::newRow("DB Barcode")
                << u"EAN"_s
                << QStringList{u"(Object) = DB Barcode [read-only] : You have selected a "
                               "database barcode field"_s,
                               u"Name = EAN [text]"_s}
                                   + Position(u"0"_s, u"0"_s, u"0"_s, u"0"_s)
                                   + QStringList{
                                           u"Data Source = Orders [option] "
                                           "{|Top|Orders|Groups|Break|End} : The name of the band "
                                           "containing the SQL query this DB barcode label will "
                                           "display the data from"_s,
                                           u"Data Field = ean [text] : The name of the database "
                                           "field to display barcode in this position"_s,
                                           symbology.arg(u"EAN-13"_s),
                                           printWhen,
                                   };
        // clang-format on
    }
    void page()
    {
        QFETCH(QString, object);
        QFETCH(QStringList, expected);
        CVornReport report;
        Fill(report);
        const auto rows
                = BuildPage(report, Find(report, object), QString(), u"/home/ann/sales.vnt"_s, 96);
        QVERIFY(rows.has_value());
        const QStringList actual = PageText(*rows);
        // Line by line first, so that a failure names the row.
        for (qsizetype i = 0; i < qMin(actual.size(), expected.size()); ++i)
            QCOMPARE(actual.at(i), expected.at(i));
        QCOMPARE(actual.size(), expected.size());
    }

    // The rows of a barcode's options show where they apply: the error correction of a QR
    // Code, the human-readable line of a linear symbol drawn by the library.
    void barcodeOptionRows_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("EAN-13") << 0 << QStringList {u"Symbology = EAN-13"_s};
        QTest::newRow("QR Code") << 3
                                 << QStringList {u"Symbology = QR Code"_s,
                                                 u"Error Correction = H (30%)"_s};
        QTest::newRow("Code 128") << 1
                                  << QStringList {u"Symbology = Code 128"_s, u"Show Text = No"_s};
        QTest::newRow("DataMatrix") << 4 << QStringList {u"Symbology = DataMatrix"_s};
        QTest::newRow("a newer Vantel's") << 42 << QStringList {u"Symbology = "_s};
    }

    void barcodeOptionRows()
    {
        QFETCH(int, symbology);
        QFETCH(QStringList, rows);
        CVornReport report;
        Fill(report);
        auto *code = static_cast<CVornBarcode *>(report.FindByName(u"Code"_s));
        code->SetSymbology(symbology);
        code->SetEccLevel(3);
        code->SetShowText(0);
        QStringList shown;
        const auto page = BuildPage(report, code, {}, {}, 96);
        QVERIFY(page.has_value());
        for (const CPropertyRow &row : *page) {
            if (row.name == u"Symbology" || row.name == u"Error Correction"
                || row.name == u"Show Text")
                shown << row.name + u" = "_s + row.value;
        }
        QCOMPARE(shown, rows);
    }

    void payloads()
    {
        CVornReport report;
        Fill(report);
        const auto text = BuildPage(report, report.FindByName(u"Text 1"_s), {}, {}, 96);
        const CPropertyRow &font = text->at(3);
        QCOMPARE(font.font.faceName, u"Arial"_s);
        QCOMPARE(font.font.height, -16);
        QCOMPARE(font.font.weight, 700);
        QVERIFY(font.font.italic);
        QVERIFY(!font.font.underline);
        QCOMPARE(font.font.charset, 1);
        QCOMPARE(font.font.color, 0x0000FFu);
        QCOMPARE(text->at(4).color, 0x0000FFu);

        const auto band = BuildPage(report, report.FindByName(u"Orders"_s), {}, {}, 96);
        QCOMPARE(band->at(3).sqlText, u"SELECT *\r\nFROM orders"_s);
        const auto dbText = BuildPage(report, report.FindByName(u"Amount"_s), {}, {}, 96);
        QCOMPARE(dbText->at(9).sqlText, u"SELECT a,\r\n\t  b FROM t"_s);

        // The font height follows the screen: 10 points are 17 pixels at 120 dpi.
        const auto large = BuildPage(report, report.FindByName(u"Amount"_s), {}, {}, 120);
        QCOMPARE(large->at(3).font.height, -17);
        QCOMPARE(large->at(3).value, u"Times New Roman, 10"_s);
    }

    void optionLists_data()
    {
        QTest::addColumn<QStringList>("bands");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("options");
        // Bands are "kind:name"; shown is the index of the band whose page is built.
        QTest::newRow("namesakes leave each other out")
                << QStringList {u"1:Detail"_s, u"1:DETAIL"_s, u"1:Other"_s} << 0
                << u"Parent Data Source"_s << QStringList {QString(), u"Other"_s};
        QTest::newRow("namesake left out of the group lists")
                << QStringList {u"1:Detail"_s, u"1:detail"_s, u"2:Head"_s} << 1 << u"Group Header"_s
                << QStringList {QString()};
        QTest::newRow("group lists hold Report Contents bands only")
                << QStringList {u"1:A"_s, u"2:H"_s, u"1:B"_s, u"3:F"_s, u"1:C"_s} << 0
                << u"Group Footer"_s << QStringList {QString(), u"B"_s, u"C"_s};
        QTest::newRow("an empty band name adds no second empty option")
                << QStringList {u"1:A"_s, u"1:"_s, u"1:B"_s} << 0 << u"Parent Data Source"_s
                << QStringList {QString(), u"B"_s};
        QTest::newRow("a name used twice is offered once")
                << QStringList {u"1:A"_s, u"1:B"_s, u"4:B"_s} << 0 << u"Parent Data Source"_s
                << QStringList {QString(), u"B"_s};
        QTest::newRow("a band with an empty name leaves out the other empty names")
                << QStringList {u"1:"_s, u"1:A"_s, u"1:"_s} << 0 << u"Parent Data Source"_s
                << QStringList {QString(), u"A"_s};
        QTest::newRow("the only band")
                << QStringList {u"1:A"_s} << 0 << u"Group Header"_s << QStringList {QString()};
    }
    void optionLists()
    {
        QFETCH(QStringList, bands);
        QFETCH(int, shown);
        QFETCH(QString, row);
        QFETCH(QStringList, options);
        CVornReport report;
        for (const QString &band : bands)
            AddBand(report, band.section(u':', 0, 0).toInt(), band.section(u':', 1));
        const auto rows = BuildPage(report, report.GetBands()[shown], {}, {}, 96);
        QVERIFY(rows.has_value());
        for (const CPropertyRow &r : *rows) {
            if (r.name == row) {
                QCOMPARE(r.options, options);
                return;
            }
        }
        QFAIL("row not found");
    }

    // Without bands every band list offers only the empty text; the lists of
    // the data-bound items hold every band, the item's own included.
    void bandListsOfItems()
    {
        CVornReport report;
        CVornBand loose(VornKind::ReportContents, u"Loose"_s);
        const auto bandRows = BuildPage(report, &loose, {}, {}, 96);
        QCOMPARE(bandRows->at(4).options, QStringList {QString()});
        QCOMPARE(bandRows->at(5).options, QStringList {QString()});

        CVornDbText text;
        CVornDbImage image;
        CVornDbBarcode barcode;
        QCOMPARE(BuildPage(report, &text, {}, {}, 96)->at(8).options, QStringList {QString()});
        QCOMPARE(BuildPage(report, &image, {}, {}, 96)->at(5).options, QStringList {QString()});
        QCOMPARE(BuildPage(report, &barcode, {}, {}, 96)->at(3).options, QStringList {QString()});

        CVornBand *a = AddBand(report, VornKind::ReportContents, u"A"_s);
        AddBand(report, VornKind::ReportContents, u"a"_s);
        auto *item = AddItem<CVornDbText>(a, u"T"_s);
        QCOMPARE(BuildPage(report, item, {}, {}, 96)->at(8).options,
                 (QStringList {QString(), u"A"_s, u"a"_s}));
    }

    void values_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("value");
        // 0 report, 1 text item, 2 shape, 3 image, 4 band; the database type
        // is the digit after "database type " in the row's tag.
        QTest::newRow("landscape") << 0 << u"Page Orientation"_s << u"Landscape"_s;
        QTest::newRow("database type 0") << 0 << u"Database Type"_s << u"SQLite"_s;
        QTest::newRow("database type 2") << 0 << u"Database Type"_s << u"ODBC"_s;
        QTest::newRow("database type 7 is None") << 0 << u"Database Type"_s << u"None"_s;
        QTest::newRow("sheet size shown as stored in landscape")
                << 0 << u"Page Size"_s << u"1.99, -2.99"_s;
        QTest::newRow("text alignment 3 is unknown")
                << 1 << u"Horizontal Alignment"_s << u"(Unknown)"_s;
        QTest::newRow("text vertical 2 is Bottom") << 1 << u"Vertical Alignment"_s << u"Bottom"_s;
        QTest::newRow("font with every effect")
                << 1 << u"Font"_s << u"Courier New, 8, Italic, Underline, Strikeout"_s;
        QTest::newRow("unknown shape type") << 2 << u"Shape Type"_s << QString();
        QTest::newRow("unknown line style") << 2 << u"Line Style"_s << QString();
        QTest::newRow("image horizontal 2 is Center")
                << 3 << u"Horizontal Alignment"_s << u"Center"_s;
        QTest::newRow("image vertical 3 is Stretch")
                << 3 << u"Vertical Alignment"_s << u"Stretch"_s;
        QTest::newRow("print on first page") << 4 << u"Print On First Page"_s << u"True"_s;
        QTest::newRow("negative band height") << 4 << u"Band Height"_s << u"-7.99"_s;
        // Only Report Contents bands take group bands: another band's names stay in sight.
        QTest::newRow("group header named by a page header")
                << 4 << u"Group Header"_s << u"Lines"_s;
        QTest::newRow("group footer named by a page header") << 4 << u"Group Footer"_s << u"Sums"_s;
    }
    void values()
    {
        QFETCH(int, setup);
        QFETCH(QString, row);
        QFETCH(QString, value);
        CVornReport report;
        report.SetPortrait(0);
        const QByteArray tag = QTest::currentDataTag();
        report.SetDatabaseType(tag.startsWith("database type ") ? tag.mid(14, 1).toInt() : -1);
        report.SetWidth(-299);
        report.SetHeight(199);
        CVornBand *band = AddBand(report, VornKind::PageHeader, u"B"_s, -799);
        band->SetHeader(u"Lines"_s);
        band->SetFooter(u"Sums"_s);
        auto *text = AddItem<CVornText>(band, u"T"_s);
        text->SetHorzAlignment(3);
        text->SetVertAlignment(2);
        text->SetFontName(u"Courier New"_s);
        text->SetFontSize(8);
        text->SetItalic(1);
        text->SetUnderline(1);
        text->SetStrikeout(1);
        auto *shape = AddItem<CVornShape>(band, u"S"_s);
        shape->SetShapeType(0);
        shape->SetLineStyle(3);
        auto *image = AddItem<CVornImage>(band, u"I"_s);
        image->SetHorzAlignment(2);
        const CVornElement *objects[] = {nullptr, text, shape, image, band};

        const auto rows = BuildPage(report, objects[setup], {}, {}, 96);
        QVERIFY(rows.has_value());
        for (const CPropertyRow &r : *rows) {
            if (r.name == row) {
                QCOMPARE(r.value, value);
                return;
            }
        }
        QFAIL("row not found");
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        QTest::newRow("given name") << u"/tmp/a.vnt"_s << u"/tmp/b.vnt"_s << u"/tmp/a.vnt"_s;
        QTest::newRow("document path") << QString() << u"/tmp/b.vnt"_s << u"/tmp/b.vnt"_s;
        QTest::newRow("never saved") << QString() << QString() << QString();
    }
    void fileName()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, path);
        QFETCH(QString, shown);
        CVornReport report;
        const auto rows = BuildPage(report, nullptr, fileName, path, 96);
        QCOMPARE(rows->at(1).name, u"(File Name)"_s);
        QCOMPARE(rows->at(1).value, shown);
    }

    // Objects whose kind has no page build nothing, so the grid stays as it is.
    void noPage()
    {
        CVornReport report;
        CVornBand unspecified;
        QVERIFY(!BuildPage(report, &unspecified, {}, {}, 96));
        CVornBand kind13(13, u"X"_s);
        QVERIFY(!BuildPage(report, &kind13, {}, {}, 96));
        // A band object claiming an item kind has no item fields to show.
        CVornBand wrongClass(VornKind::Text, u"Y"_s);
        QVERIFY(!BuildPage(report, &wrongClass, {}, {}, 96));
    }

    void mainRow_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("name");
        QTest::newRow("report") << QString() << u"Title"_s;
        QTest::newRow("band") << u"Orders"_s << u"Name"_s;
        QTest::newRow("Text") << u"Text 1"_s << u"Text"_s;
        QTest::newRow("DB Text") << u"Amount"_s << u"Data Field"_s;
        QTest::newRow("Shape") << u"Shape 1"_s << u"Name"_s;
        QTest::newRow("Image") << u"Logo"_s << u"Name"_s;
        QTest::newRow("Barcode") << u"Code"_s << u"Name"_s;
        QTest::newRow("DB Barcode") << u"EAN"_s << u"Name"_s;
    }
    // The main row exists as a top-level row of the object's page.
    void mainRow()
    {
        QFETCH(QString, object);
        QFETCH(QString, name);
        CVornReport report;
        Fill(report);
        CVornElement *element = Find(report, object);
        const QString id = MainPropertyId(element);
        const auto rows = BuildPage(report, element, {}, {}, 96);
        QVERIFY(std::any_of(rows->cbegin(), rows->cend(), [&](const CPropertyRow &row) {
            return row.id == id && row.name == name;
        }));
    }

    void sqlOneLine_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("line");
        QTest::newRow("CR LF, tab and blanks")
                << u"SELECT a,\r\n\t  b FROM t"_s << u"SELECT a, b FROM t"_s;
        QTest::newRow("lone CR and LF") << u"a\rb\nc"_s << u"a b c"_s;
        QTest::newRow("LF CR is two breaks, squeezed") << u"a\n\rb"_s << u"a b"_s;
        QTest::newRow("leading and trailing blanks stay as one")
                << u"  \tSELECT 1 \r\n"_s << u" SELECT 1 "_s;
        QTest::newRow("blanks inside quotes are squeezed too") << u"'a   b'"_s << u"'a b'"_s;
        QTest::newRow("other white space stays")
                << u"a\u00A0\u00A0b\fc"_s << u"a\u00A0\u00A0b\fc"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("only breaks") << u"\r\n\r\n"_s << u" "_s;
    }
    void sqlOneLine()
    {
        QFETCH(QString, sql);
        QFETCH(QString, line);
        QCOMPARE(SqlOneLine(sql), line);
    }

    void millimetres_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("199") << 199 << u"1.99"_s;
        QTest::newRow("-150") << -150 << u"-1.5"_s;
        QTest::newRow("-99") << -99 << u"-0.99"_s;
        QTest::newRow("7") << 7 << u"0.07"_s;
        QTest::newRow("29700") << 29700 << u"297"_s;
        QTest::newRow("int max") << std::numeric_limits<int>::max() << u"21474836.47"_s;
        QTest::newRow("int min") << std::numeric_limits<int>::min() << u"-21474836.48"_s;
    }
    void millimetres()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QCOMPARE(MillimetreText(stored), shown);
    }
};

VANTEL_TEST_CLASS(TestPropertyPage)
#include "tst_propertypage.moc"
