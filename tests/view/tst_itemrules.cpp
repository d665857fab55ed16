#include "imageplacement.h"
#include "itempainter.h"
#include "pagetestutil.h"
#include "pixeldrawing.h"
#include "testregistry.h"
#include "textitemlayout.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace PageTest;

Q_DECLARE_METATYPE(PixRect)

// The rules that decide how one item is laid out in its box: fonts and strings of texts,
// vertical placement of wrapped text, trimming of DB Text placeholders, placement of pictures
// and the stored colours.
class TestItemRules : public QObject
{
    Q_OBJECT

private slots:
    void fontHeight_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("height");
        QTest::newRow("10 pt at 96 dpi") << 10 << 96 << 1.0 << -13;
        QTest::newRow("12 pt at 96 dpi") << 12 << 96 << 1.0 << -16;
        QTest::newRow("the narrow zoom loses a pixel") << 10 << 96 << 20981.0 / 21000 << -12;
        QTest::newRow("a half rounds up") << 9 << 100 << 1.0 << -13;
        QTest::newRow("rounded before the zoom truncates") << 8 << 120 << 0.5 << -6;
        QTest::newRow("0 pt asks for the default") << 0 << 96 << 1.0 << 0;
        QTest::newRow("negative points give a cell height") << -10 << 96 << 1.0 << 13;
    }
    void fontHeight()
    {
        QFETCH(int, points);
        QFETCH(int, dpi);
        QFETCH(double, zoom);
        QFETCH(int, height);
        QCOMPARE(TextFontHeight(points, dpi, zoom), height);
    }

    void itemFont_data()
    {
        QTest::addColumn<int>("flag"); // 0 bold, 1 italic, 2 underline, 3 strike-out
        QTest::newRow("bold") << 0;
        QTest::newRow("italic") << 1;
        QTest::newRow("underline") << 2;
        QTest::newRow("strike-out") << 3;
    }
    void itemFont()
    {
        QFETCH(int, flag);
        CVornText text;
        text.SetFontName(u"Courier New"_s);
        text.SetFontSize(12);
        const QFont plain = TextItemFont(text, 96, 1.0);
        QCOMPARE(plain.families().value(0), u"Courier New"_s);
        QCOMPARE(plain.pixelSize(), 16);
        QCOMPARE(plain.weight(), QFont::Normal);
        text.SetBold(flag == 0 ? 700 : 0);
        text.SetItalic(flag == 1);
        text.SetUnderline(flag == 2);
        text.SetStrikeout(flag == 3);
        const QFont font = TextItemFont(text, 96, 1.0);
        QCOMPARE(font.weight() == QFont::Bold, flag == 0);
        QCOMPARE(font.italic(), flag == 1);
        QCOMPARE(font.underline(), flag == 2);
        QCOMPARE(font.strikeOut(), flag == 3);
    }

    void dbTextPlaceholder_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no field") << u"Orders"_s << QString() << QString() << u"[DB Field]"_s;
        QTest::newRow("field only") << QString() << u"Amount"_s << QString() << u"[Amount]"_s;
        QTest::newRow("source and field")
                << u"Orders"_s << u"Amount"_s << QString() << u"[Orders].[Amount]"_s;
        QTest::newRow("own query names the item")
                << u"Orders"_s << u"Amount"_s << u"select 1"_s << u"[Total].[Amount]"_s;
        QTest::newRow("query without a source")
                << QString() << u"Amount"_s << u"select 1"_s << u"[Amount]"_s;
    }
    void dbTextPlaceholder()
    {
        QFETCH(QString, source);
        QFETCH(QString, field);
        QFETCH(QString, query);
        QFETCH(QString, shown);
        CVornDbText item;
        item.SetName(u"Total"_s);
        item.SetText(u"ignored"_s);
        item.SetDataSource(source);
        item.SetDataField(field);
        item.SetQuery(query);
        QCOMPARE(TextItemString(item), shown);
    }

    void trimFromLeft_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<QString>("kept");
        QTest::newRow("fits") << u"abcdef"_s << 60 << u"abcdef"_s;
        QTest::newRow("loses its start") << u"abcdef"_s << 35 << u"def"_s;
        QTest::newRow("one character is always left") << u"abcdef"_s << 5 << u"f"_s;
        QTest::newRow("a single character stays") << u"a"_s << 5 << u"a"_s;
        QTest::newRow("empty") << QString() << 5 << QString();
        QTest::newRow("a surrogate pair is one character")
                << u"a\U0001F600b"_s << 20 << u"\U0001F600b"_s;
        QTest::newRow("a lone pair stays") << u"\U0001F600"_s << 5 << u"\U0001F600"_s;
    }
    void trimFromLeft()
    {
        QFETCH(QString, text);
        QFETCH(int, maxWidth);
        QFETCH(QString, kept);
        // Ten pixels for every character.
        const auto width = [](const QString &s) {
            return 10 * int(s.toUcs4().size());
        };
        QCOMPARE(TrimFromLeft(text, maxWidth, width), kept);
    }

    void longTextDrawsWhatShows_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("vertAlignment");
        const int single = Qt::TextSingleLine;
        QTest::newRow("wrapped, top") << int(Qt::TextWordWrap | Qt::AlignTop) << 0;
        QTest::newRow("wrapped, bottom: moved out of the box")
                << int(Qt::TextWordWrap | Qt::AlignTop) << 2;
        QTest::newRow("single line, left") << (single | Qt::AlignLeft) << 0;
        QTest::newRow("single line, right") << (single | Qt::AlignRight) << 0;
    }
    void longTextDrawsWhatShows()
    {
        // A field of megabytes shows a few lines: drawing only what can show gives the very
        // pixels of drawing it all.
        QFETCH(int, flags);
        QFETCH(int, vertAlignment);
        QString text;
        for (int i = 0; text.size() < 60000; ++i)
            text += QStringLiteral("word%1 ").arg(i);
        const PixRect box {10, 10, 150, 60};
        QCOMPARE(VisibleTextPart(text, 20000, flags).size(), 20000);
        const auto draw = [&](bool all) {
            QImage image(160, 70, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setClipRect(box.ToQRect());
            if (all) {
                const PixRect layout = ItemTextLayout(painter, box, text, flags, vertAlignment);
                painter.drawText(layout.ToQRect(), flags, text);
            } else {
                PaintItemText(painter, box, text, flags, vertAlignment);
            }
            return image;
        };
        QCOMPARE(draw(false), draw(true));
    }

    void visibleTextPart_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("part");
        const QString pair = QStringLiteral("\U0001F600");
        QTest::newRow("wrapped keeps the start")
                << int(Qt::TextWordWrap | Qt::AlignRight) << QStringLiteral("ab");
        QTest::newRow("left keeps the start") << int(Qt::AlignLeft) << QStringLiteral("ab");
        QTest::newRow("right keeps the end, pair whole") << int(Qt::AlignRight) << pair;
        QTest::newRow("centred keeps the middle") << int(Qt::AlignHCenter) << QStringLiteral("cd");
    }
    void visibleTextPart()
    {
        QFETCH(int, flags);
        QFETCH(QString, part);
        const QString text = QStringLiteral("abcde\U0001F600");
        QCOMPARE(VisibleTextPart(text, 2, flags), part);
        QCOMPARE(VisibleTextPart(text, 7, flags), text);
        QCOMPARE(VisibleTextLimit(150, 20, 15), 20000);
        QCOMPARE(VisibleTextLimit(1000, 150, 15), (4 * 150 / 15 + 4) * 1001);
    }

    void wrappedTextTop_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("textHeight");
        QTest::addColumn<int>("top");
        // The box runs from 100 to 150.
        QTest::newRow("top") << 0 << 20 << 100;
        QTest::newRow("center") << 1 << 20 << 115;
        QTest::newRow("bottom") << 2 << 20 << 130;
        QTest::newRow("taller, centred: moved down too") << 1 << 81 << 115;
        QTest::newRow("taller, bottom: moved down, not up") << 2 << 81 << 131;
        QTest::newRow("a pixel taller, centred: half truncates to 0") << 1 << 51 << 100;
        QTest::newRow("stretch counts as top") << 3 << 20 << 100;
    }
    void wrappedTextTop()
    {
        QFETCH(int, alignment);
        QFETCH(int, textHeight);
        QFETCH(int, top);
        QCOMPARE(WrappedTextTop({0, 100, 50, 150}, textHeight, alignment), top);
    }

    void textFlags_data()
    {
        QTest::addColumn<int>("horz");
        QTest::addColumn<int>("vert");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("flags");
        QTest::newRow("left top single")
                << 0 << 0 << false << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
        QTest::newRow("right bottom single")
                << 1 << 2 << false << int(Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine);
        QTest::newRow("center center single")
                << 2 << 1 << false << int(Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine);
        QTest::newRow("unknown codes")
                << 7 << 7 << false << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);
        QTest::newRow("wrapped text ignores the vertical code")
                << 2 << 2 << true << int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);
    }
    void textFlags()
    {
        QFETCH(int, horz);
        QFETCH(int, vert);
        QFETCH(bool, wrap);
        QFETCH(int, flags);
        CVornText text;
        text.SetHorzAlignment(horz);
        text.SetVertAlignment(vert);
        text.SetWordWrap(wrap);
        QCOMPARE(TextItemFlags(text), flags);
    }

    void imagePlacement_data()
    {
        QTest::addColumn<int>("boxWidth");
        QTest::addColumn<int>("boxHeight");
        QTest::addColumn<int>("horz");
        QTest::addColumn<int>("vert");
        QTest::addColumn<PixRect>("target");
        QTest::addColumn<QRectF>("source");
        // A 40 x 20 pixel picture at 96 dpi is 1058 x 529 units; boxes start at (100, 50).
        const QRectF whole(0, 0, 1058, 529);
        QTest::newRow("left top") << 96 << 48 << 0 << 0 << PixRect {100, 50, 140, 70} << whole;
        QTest::newRow("right bottom") << 96 << 48 << 1 << 2 << PixRect {156, 78, 196, 98} << whole;
        QTest::newRow("center center") << 96 << 48 << 2 << 1 << PixRect {128, 64, 168, 84} << whole;
        QTest::newRow("stretch") << 96 << 48 << 3 << 3 << PixRect {100, 50, 196, 98} << whole;
        QTest::newRow("unknown codes stretch")
                << 96 << 48 << 9 << -1 << PixRect {100, 50, 196, 98} << whole;
        QTest::newRow("exactly as wide: the whole picture")
                << 40 << 20 << 1 << 2 << PixRect {100, 50, 140, 70} << whole;
        QTest::newRow("narrow, left part")
                << 20 << 48 << 0 << 0 << PixRect {100, 50, 120, 70} << QRectF(0, 0, 515, 529);
        QTest::newRow("narrow, right part")
                << 20 << 48 << 1 << 0 << PixRect {100, 50, 120, 70} << QRectF(515, 0, 515, 529);
        QTest::newRow("narrow, middle part")
                << 20 << 48 << 2 << 0 << PixRect {100, 50, 120, 70} << QRectF(251, 0, 515, 529);
        QTest::newRow("a pixel narrower, centred, starts at the picture's edge")
                << 39 << 48 << 2 << 0 << PixRect {100, 50, 139, 70} << QRectF(0, 0, 1018, 529);
        QTest::newRow("low, top part")
                << 96 << 10 << 0 << 0 << PixRect {100, 50, 140, 60} << QRectF(0, 0, 1058, 251);
        QTest::newRow("low, middle part")
                << 96 << 10 << 0 << 1 << PixRect {100, 50, 140, 60} << QRectF(0, 119, 1058, 251);
        QTest::newRow("low, bottom part")
                << 96 << 10 << 0 << 2 << PixRect {100, 50, 140, 60} << QRectF(0, 251, 1058, 251);
    }
    void imagePlacement()
    {
        QFETCH(int, boxWidth);
        QFETCH(int, boxHeight);
        QFETCH(int, horz);
        QFETCH(int, vert);
        QFETCH(PixRect, target);
        QFETCH(QRectF, source);
        const ImagePlacement placement = PlaceImage({100, 50, 100 + boxWidth, 50 + boxHeight},
                                                    QSize(1058, 529), horz, vert, 96, 96);
        QCOMPARE(placement.target.left, target.left);
        QCOMPARE(placement.target.top, target.top);
        QCOMPARE(placement.target.right, target.right);
        QCOMPARE(placement.target.bottom, target.bottom);
        QCOMPARE(placement.source, source);
    }

    void pictureNaturalSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("units");
        QTest::addColumn<int>("pixelsAt96");
        QTest::newRow("96 dpi") << QuadrantPng(40, 20) << QSize(1058, 529) << 40;
        QTest::newRow("72 dpi shows larger") << QuadrantPng(40, 20, 2835) << QSize(1411, 705) << 53;
        QTest::newRow("not a picture") << QByteArray("not a picture") << QSize() << 0;
        // PNG goes straight to Qt's own decoder; the other formats are still recognised.
        QTest::newRow("PNG cut short") << QuadrantPng(40, 20).left(60) << QSize() << 0;
        const QImage quadrants = QImage::fromData(QuadrantPng(40, 20));
        for (const char *format : {"BMP", "JPG"}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (quadrants.save(&buffer, format))
                QTest::newRow(format) << bytes << QSize(1058, 529) << 40;
        }
    }
    void pictureNaturalSize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, units);
        QFETCH(int, pixelsAt96);
        const CPictureCache::Picture picture = CPictureCache::Decode(bytes);
        QCOMPARE(picture.image.isNull(), !units.isValid());
        if (units.isValid()) {
            QCOMPARE(picture.units, units);
            QCOMPARE(PictureNaturalPixels(units.width(), 96), pixelsAt96);
        }
    }

    void colorRef_data()
    {
        QTest::addColumn<quint32>("colorRef");
        QTest::addColumn<QColor>("color");
        QTest::newRow("red is the low byte") << quint32(0x0000FF) << QColor(255, 0, 0);
        QTest::newRow("blue is the third") << quint32(0xFF0000) << QColor(0, 0, 255);
        QTest::newRow("mixed") << quint32(0x123456) << QColor(0x56, 0x34, 0x12);
        QTest::newRow("the top byte is ignored") << quint32(0xFF000000) << QColor(0, 0, 0);
    }
    void colorRef()
    {
        QFETCH(quint32, colorRef);
        QFETCH(QColor, color);
        QCOMPARE(ColorFromColorRef(colorRef), color);
    }
};

VANTEL_TEST_CLASS(TestItemRules)
#include "tst_itemrules.moc"
