#include "optionlist.h"
#include "testregistry.h"
#include "vornband.h"
#include "vornitems.h"

#include <QTest>

// Kind codes, display names, defaults and copies of the printable items.
class TestElements : public QObject
{
    Q_OBJECT

private slots:
    void kindNames_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("band");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 is unspecified") << 0 << false << QString();
        QTest::newRow("1") << 1 << true << QStringLiteral("Report Contents");
        QTest::newRow("5") << 5 << true << QStringLiteral("Page Footer");
        QTest::newRow("6 is no kind") << 6 << false << QString();
        QTest::newRow("7 is no kind") << 7 << false << QString();
        QTest::newRow("8") << 8 << true << QStringLiteral("Page Break");
        QTest::newRow("11") << 11 << false << QStringLiteral("DB Text");
        QTest::newRow("13 is no kind") << 13 << false << QString();
        QTest::newRow("16") << 16 << false << QStringLiteral("DB Barcode");
        QTest::newRow("17 is no kind") << 17 << false << QString();
        QTest::newRow("negative") << -1 << false << QString();
    }
    void kindNames()
    {
        QFETCH(int, kind);
        QFETCH(bool, band);
        QFETCH(QString, name);
        QCOMPARE(IsBand(kind), band);
        QCOMPARE(KindName(kind), name);
    }

    void bandKindNameOfNoBand()
    {
        CVornBand band(13, QStringLiteral("B"));
        QCOMPARE(band.BandKindName(), QStringLiteral("Unknown"));
        band.SetKind(4);
        QCOMPARE(band.BandKindName(), QStringLiteral("Page Header"));
    }

    void alignmentNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("image");
        QTest::addColumn<QString>("horz");
        QTest::addColumn<QString>("vert");
        QTest::newRow("0") << 0 << false << QStringLiteral("Left") << QStringLiteral("Top");
        QTest::newRow("1 is Right, not Center")
                << 1 << false << QStringLiteral("Right") << QStringLiteral("Center");
        QTest::newRow("2") << 2 << false << QStringLiteral("Center") << QStringLiteral("Bottom");
        QTest::newRow("3 on a text")
                << 3 << false << QStringLiteral("(Unknown)") << QStringLiteral("(Unknown)");
        QTest::newRow("3 on an image")
                << 3 << true << QStringLiteral("Stretch") << QStringLiteral("Stretch");
        QTest::newRow("4") << 4 << true << QStringLiteral("(Unknown)")
                           << QStringLiteral("(Unknown)");
    }
    void alignmentNames()
    {
        QFETCH(int, code);
        QFETCH(bool, image);
        QFETCH(QString, horz);
        QFETCH(QString, vert);
        QCOMPARE((image ? VornOptions::ImageHorzAlignment() : VornOptions::TextHorzAlignment())
                         .Name(code),
                 horz);
        QCOMPARE((image ? VornOptions::ImageVertAlignment() : VornOptions::TextVertAlignment())
                         .Name(code),
                 vert);
    }

    void createItemGivesTheKind_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind : {9, 10, 11, 12, 14, 15, 16})
            QTest::newRow(qPrintable(KindName(kind))) << kind;
    }
    void createItemGivesTheKind()
    {
        QFETCH(int, kind);
        const std::unique_ptr<CVornItem> item = CreateItem(kind);
        QVERIFY(item);
        QCOMPARE(item->GetKind(), kind);
        // Reading a file stores the type attribute; the item's kind stays fixed.
        item->SetKind(3);
        QCOMPARE(item->GetKind(), kind);
        item->Reset();
        QCOMPARE(item->GetKind(), kind);
    }

    void createItemRefusesOtherCodes()
    {
        for (int kind : {0, 1, 8, 13, 17})
            QVERIFY(!CreateItem(kind));
    }

    void defaults()
    {
        CVornShape shape;
        QCOMPARE(shape.GetShapeType(), 1);
        QCOMPARE(shape.GetBkColor(), 0xFFFFFFu);
        QCOMPARE(shape.GetLineWidth(), 1);
        QCOMPARE(shape.GetLineStyle(), 1);
        QCOMPARE(shape.GetColor(), 0u);

        CVornDbText text;
        QCOMPARE(text.GetFontName(), QStringLiteral("Times New Roman"));
        QCOMPARE(text.GetFontSize(), 10);
        QCOMPARE(text.GetCharset(), 1);
        QCOMPARE(text.GetHorzAlignment(), 0);
        QCOMPARE(text.GetVertAlignment(), 0);
        QCOMPARE(text.GetWordWrap(), 1);

        CVornImage image;
        QCOMPARE(image.GetHorzAlignment(), 3);
        QCOMPARE(image.GetVertAlignment(), 3);
        QVERIFY(image.GetImageData().isEmpty());
    }

    void resetRestoresEveryField()
    {
        CVornDbText text;
        text.SetName(QStringLiteral("T"));
        text.SetSelected(true);
        text.SetRect(1, 2, 3, 4);
        text.SetColor(0x123456);
        text.SetText(QStringLiteral("x"));
        text.SetFontName(QStringLiteral("Arial"));
        text.SetFontSize(30);
        text.SetCharset(204);
        text.SetBold(1);
        text.SetItalic(1);
        text.SetUnderline(1);
        text.SetStrikeout(1);
        text.SetHorzAlignment(2);
        text.SetVertAlignment(2);
        text.SetWordWrap(0);
        text.SetDataSource(QStringLiteral("S"));
        text.SetDataField(QStringLiteral("F"));
        text.SetFormat(QStringLiteral("%d"));
        text.SetQuery(QStringLiteral("Q"));
        text.Reset();

        CVornDbText fresh;
        QCOMPARE(text.GetName(), fresh.GetName());
        QCOMPARE(text.IsSelected(), false);
        QCOMPARE(text.GetRight(), 0);
        QCOMPARE(text.GetColor(), 0u);
        QCOMPARE(text.GetText(), fresh.GetText());
        QCOMPARE(text.GetFontName(), fresh.GetFontName());
        QCOMPARE(text.GetFontSize(), fresh.GetFontSize());
        QCOMPARE(text.GetCharset(), fresh.GetCharset());
        QCOMPARE(text.GetBold() + text.GetItalic() + text.GetUnderline() + text.GetStrikeout(), 0);
        QCOMPARE(text.GetHorzAlignment(), 0);
        QCOMPARE(text.GetWordWrap(), 1);
        QVERIFY(text.GetDataSource().isEmpty() && text.GetDataField().isEmpty());
        QVERIFY(text.GetFormat().isEmpty() && text.GetQuery().isEmpty());

        CVornShape shape;
        shape.SetShapeType(5);
        shape.SetBkColor(0);
        shape.SetLineWidth(4);
        shape.SetLineStyle(2);
        shape.Reset();
        QCOMPARE(shape.GetShapeType(), 1);
        QCOMPARE(shape.GetBkColor(), 0xFFFFFFu);
        QCOMPARE(shape.GetLineWidth(), 1);
        QCOMPARE(shape.GetLineStyle(), 1);
    }

    void validateNeedsAName()
    {
        CVornBarcode barcode;
        QString message;
        QVERIFY(!barcode.Validate(message));
        QCOMPARE(message, QStringLiteral("The NAME property is not specified"));
        barcode.SetName(QStringLiteral("B"));
        QVERIFY(barcode.Validate(message));
    }

    void imageCopiesAreIndependent()
    {
        CVornImage a;
        a.SetName(QStringLiteral("Logo"));
        a.SetImageData(QByteArray("\x89PNG\r\n", 6));
        a.SetHorzAlignment(1);
        CVornImage b;
        b.CopyFrom(a);
        QCOMPARE(b.GetImageData(), a.GetImageData());
        QCOMPARE(b.GetName(), QStringLiteral("Logo"));
        QCOMPARE(b.GetHorzAlignment(), 1);
        QVERIFY(b.GetImageData().constData() != a.GetImageData().constData());

        a.SetImageData(nullptr, 0);
        QVERIFY(a.GetImageData().isEmpty());
        QCOMPARE(b.GetImageData().size(), 6);

        // Bytes over memory the array does not own are copied, not taken over.
        char buffer[] = "GIF89a";
        a.SetImageData(QByteArray::fromRawData(buffer, 6));
        buffer[0] = 'X';
        QCOMPARE(a.GetImageData(), QByteArray("GIF89a"));
    }

    void cloneKeepsTheDatabaseFields()
    {
        CVornDbBarcode barcode;
        barcode.SetName(QStringLiteral("EAN"));
        barcode.SetRect(10, 20, 30, 40);
        barcode.SetDataSource(QStringLiteral("Lines"));
        barcode.SetDataField(QStringLiteral("CODE"));
        const std::unique_ptr<CVornItem> clone = barcode.Clone();
        QCOMPARE(clone->GetKind(), 16);
        const auto *copy = static_cast<const CVornDbBarcode *>(clone.get());
        QCOMPARE(copy->GetDataSource(), QStringLiteral("Lines"));
        QCOMPARE(copy->GetDataField(), QStringLiteral("CODE"));
        QCOMPARE(copy->GetBottom(), 40);
    }

    void objectArrayRejectsBadIndexes()
    {
        CObjectArray<CVornItem *> items;
        items.Add(new CVornText);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, items.GetAt(1));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, items.GetAt(-1));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, items.InsertAt(3, nullptr));
        items.RemoveAllAndDelete();
        QCOMPARE(items.GetCount(), 0);
    }
};

VANTEL_TEST_CLASS(TestElements)
#include "tst_elements.moc"
