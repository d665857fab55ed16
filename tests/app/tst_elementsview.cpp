#include "elementsctrl.h"
#include "elementsdelegate.h"
#include "elementsicons.h"
#include "elementsview.h"
#include "testregistry.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace {

// Pixels of exactly this colour inside a rectangle of an image.
int CountColour(const QImage &image, const QRect &rect, QRgb colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == colour ? 1 : 0;
    }
    return count;
}

} // namespace

// The user looks at the Elements pane: thirteen rows with their icons and colours under the
// heading "Select an item to insert:", picks one with the mouse, and the pane reports the kind;
// the design view later puts it back on "Pointer".
class TestElementsView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pane = std::make_unique<CElementsView>();
        m_pane->resize(320, 420);
        m_pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pane.get()));
    }
    void cleanup() { m_pane.reset(); }

    void pane()
    {
        QCOMPARE(m_pane->windowTitle(), QStringLiteral("Elements"));
        QCOMPARE(m_pane->objectName(), QStringLiteral("Elements"));
        CElementsCtrl *list = m_pane->GetCtrl();
        QCOMPARE(list->columnCount(), 1);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Select an item to insert:"));
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(m_pane->focusProxy(), list);
        // At start-up no row is chosen.
        QVERIFY(list->selectedItems().isEmpty());
        // The list fills the pane's frame less one pixel on each side.
        const QWidget *frame = m_pane->widget();
        QCOMPARE(list->geometry(), frame->rect().adjusted(1, 1, -1, -1));
    }

    void rows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<uint>("colour");

        const uint red = 0x800000, green = 0x008000, blue = 0x000080;
        QTest::newRow("pointer") << 0 << "Pointer" << 0 << 0 << red;
        QTest::newRow("page header") << 1 << "Page Header" << 4 << 1 << green;
        QTest::newRow("report header") << 2 << "Report Header" << 2 << 1 << green;
        QTest::newRow("contents") << 3 << "Contents" << 1 << 2 << green;
        QTest::newRow("report footer") << 4 << "Report Footer" << 3 << 3 << green;
        QTest::newRow("page footer") << 5 << "Page Footer" << 5 << 3 << green;
        QTest::newRow("text") << 6 << "Text Box" << 9 << 4 << blue;
        QTest::newRow("db text") << 7 << "DB Text Box" << 11 << 4 << blue;
        QTest::newRow("shape") << 8 << "Shape: line, rectangle, etc." << 10 << 5 << blue;
        QTest::newRow("image") << 9 << "Image" << 12 << 6 << blue;
        QTest::newRow("db image") << 10 << "DB Image" << 14 << 6 << blue;
        QTest::newRow("barcode") << 11 << "Barcode" << 15 << 8 << blue;
        QTest::newRow("db barcode") << 12 << "DB Barcode" << 16 << 8 << blue;
        QTest::newRow("chart") << 13 << "Chart" << 32 << 9 << blue;
        QTest::newRow("page number") << 14 << "Page Number" << 101 << 4 << blue;
        QTest::newRow("page n of m") << 15 << "Page N of M" << 102 << 4 << blue;
        QTest::newRow("page break") << 16 << "Page Break" << 8 << 2 << green;
    }
    void rows()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(int, icon);
        QFETCH(uint, colour);
        CElementsCtrl *list = m_pane->GetCtrl();
        QCOMPARE(list->topLevelItemCount(), 17);
        // No row is current either: a current row is drawn as chosen.
        list->setCurrentItem(nullptr);
        const QTreeWidgetItem *item = list->topLevelItem(row);
        QCOMPARE(item->text(0), text);
        QCOMPARE(CElementsCtrl::KindOf(item), kind);
        QCOMPARE(item->data(0, CElementsCtrl::IconRole).toInt(), icon);

        // The text is drawn in the row's colour, on the highlight in its own colour once the
        // row is chosen. Glyphs without smoothing keep the exact colour.
        QFont font = list->font();
        font.setStyleStrategy(QFont::NoAntialias);
        list->setFont(font);
        const QRect rect = list->visualItemRect(item);
        // Inside the text area, clear of the focus frame.
        const QRect textArea = rect.adjusted(CElementsDelegate::TextIndent + 2, 2, -2, -2);
        QImage image = list->viewport()->grab().toImage();
        QVERIFY(CountColour(image, textArea, colour) > 0);
        // The icon is drawn at (2, 2) with its grey left out.
        QVERIFY(CountColour(image, rect.adjusted(0, 0, -(rect.width() - 20), 0),
                            ElementsIcons::TransparentColor)
                == 0);

        list->SelectKind(kind);
        image = list->viewport()->grab().toImage();
        QCOMPARE(CountColour(image, textArea, colour), 0);
        const QPalette palette = list->palette();
        QVERIFY(CountColour(image, textArea,
                            palette.color(QPalette::HighlightedText).rgb() & 0xFFFFFF)
                > 0);
    }

    void clickChoosesTheRowsKind()
    {
        CElementsCtrl *list = m_pane->GetCtrl();
        QSignalSpy chosen(m_pane.get(), &CElementsView::insertKindChosen);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(7)).center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toInt(), 11);
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *> {list->topLevelItem(7)});
        // A right click chooses nothing.
        QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                          list->visualItemRect(list->topLevelItem(3)).center());
        QCOMPARE(chosen.count(), 1);
    }

    void selectKindSelectsAndFocusesItsRow()
    {
        CElementsCtrl *list = m_pane->GetCtrl();
        list->SelectKind(15);
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *> {list->topLevelItem(11)});
        QCOMPARE(list->currentItem(), list->topLevelItem(11));
        m_pane->SelectKind(0);
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *> {list->topLevelItem(0)});
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        // A code no row has clears the choice.
        list->SelectKind(7);
        QVERIFY(list->selectedItems().isEmpty());
    }

    void iconStrip()
    {
        const QImage bitmap = ElementsIcons::Bitmap();
        QCOMPARE(bitmap.size(), QSize(160, 16));
        const QImage strip = ElementsIcons::Strip().toImage();
        QCOMPARE(strip.size(), QSize(160, 16));
        for (int icon = 0; icon < ElementsIcons::IconCount; ++icon) {
            int drawn = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = icon * 16; x < icon * 16 + 16; ++x) {
                    const bool grey = (bitmap.pixel(x, y) & 0xFFFFFF) == 0x808080;
                    // The grey, and only the grey, is transparent.
                    QCOMPARE(qAlpha(strip.pixel(x, y)) == 0, grey);
                    drawn += grey ? 0 : 1;
                }
            }
            // Icon 7 is not used and stays empty.
            QCOMPARE(drawn == 0, icon == 7);
        }
    }

    void iconsReadableOnDarkLooks_data()
    {
        QTest::addColumn<int>("icon");
        QTest::newRow("text") << 4;
        QTest::newRow("shape") << 5;
    }
    void iconsReadableOnDarkLooks()
    {
        // In a dark look the dark-blue lines stand out of the list's background; on a light
        // one they keep their colour.
        QFETCH(int, icon);
        const QRgb dark = qRgb(30, 30, 30);
        const QImage onDark = ElementsIcons::Strip(dark).toImage();
        const QImage onLight = ElementsIcons::Strip().toImage();
        int faint = 0;
        bool darkBlueOnLight = false;
        for (int y = 0; y < 16; ++y) {
            for (int x = icon * 16; x < icon * 16 + 16; ++x) {
                if (qAlpha(onDark.pixel(x, y)) != 0 && qGray(onDark.pixel(x, y)) < 90)
                    ++faint;
                darkBlueOnLight |= (onLight.pixel(x, y) & 0xFFFFFF) == 0x000080;
            }
        }
        QCOMPARE(faint, 0);
        QVERIFY(darkBlueOnLight);
    }

private:
    std::unique_ptr<CElementsView> m_pane;
};

VANTEL_TEST_CLASS(TestElementsView)
#include "tst_elementsview.moc"
