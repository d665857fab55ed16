#include "reportparametersdlg.h"
#include "runtestsupport.h"
#include "testregistry.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>
#include <QtMath>

using namespace RunTest;
using namespace Qt::StringLiterals;

using ParameterRows = QList<QStringList>;

namespace {

const ParameterRows fourRows {{u"Header"_s, u"Id"_s, u"1"_s},
                              {u"Lines"_s, u"Id"_s, u"2"_s},
                              {u"Lines"_s, u"From"_s, u"2024-01-01"_s},
                              {u"Lines"_s, u"To"_s, QString()}};

struct Dialog
{
    explicit Dialog(const ParameterRows &rows)
    {
        dialog.SetParameters(Parameters(rows));
        dialog.show();
        list = dialog.findChild<QTreeWidget *>(u"parameterList"_s);
        value = dialog.findChild<QLineEdit *>(u"valueEdit"_s);
    }

    QString Cell(int row, int column) const { return list->topLevelItem(row)->text(column); }

    // Clicks a row the way the user does, with the given keyboard modifier.
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    CReportParametersDlg dialog;
    QTreeWidget *list = nullptr;
    QLineEdit *value = nullptr;
};

} // namespace

// The Report Parameters dialog as the user sees and edits it.
class TestReportParametersDlg : public QObject
{
    Q_OBJECT

private slots:
    // The user opens Run and sees one row per parameter, the first one chosen.
    void opensWithOneRowPerParameter()
    {
        Dialog d(fourRows);
        QVERIFY(d.list && d.value);
        QCOMPARE(d.dialog.windowTitle(), u"Report Parameters"_s);
        QCOMPARE(d.list->headerItem()->text(0), u"Band"_s);
        QCOMPARE(d.list->headerItem()->text(1), u"Name"_s);
        QCOMPARE(d.list->headerItem()->text(2), u"Value"_s);
        QCOMPARE(d.list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(d.list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(d.list->topLevelItemCount(), 4);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column)
                QCOMPARE(d.Cell(row, column), fourRows[row][column]);
            QVERIFY(!(d.list->topLevelItem(row)->flags() & Qt::ItemIsEditable));
        }
        QCOMPARE(d.list->selectedItems(), QList<QTreeWidgetItem *> {d.list->topLevelItem(0)});
        QCOMPARE(d.list->currentItem(), d.list->topLevelItem(0));
        QCOMPARE(d.value->text(), u"1"_s);
        QVERIFY(d.dialog.findChild<QPushButton *>(u"okButton"_s)->isDefault());
    }

    // A double click or F2 on a band name does not open an editor.
    void namesCannotBeEdited()
    {
        Dialog d(fourRows);
        d.list->setFocus();
        QTest::keyClick(d.list, Qt::Key_F2);
        const QRect rect = d.list->visualItemRect(d.list->topLevelItem(1));
        QTest::mouseDClick(d.list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QVERIFY(!d.list->viewport()->findChild<QWidget *>());
        QCOMPARE(d.Cell(0, 0), u"Header"_s);
    }

    void columnWidths_data()
    {
        QTest::addColumn<ParameterRows>("rows");
        QTest::addColumn<bool>("valueAtMinimum");

        QTest::newRow("short names leave the rest to the value")
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"1"_s},
                                  {u"Report Contents 1"_s, u"Customer"_s, u"2"_s}}
                << false;
        QTest::newRow("names wider than the list keep 50 pixels for the value")
                << ParameterRows {{QString(60, u'W'), QString(60, u'M'), u"1"_s}} << true;
    }

    // The user opens the dialog and sees the names in full beside the values.
    void columnWidths()
    {
        QFETCH(ParameterRows, rows);
        QFETCH(bool, valueAtMinimum);

        Dialog d(rows);
        // Each name column is as wide as its widest name plus the margins the
        // style keeps around a cell's text.
        const QFontMetricsF metrics(d.list->font());
        const int margins = 2
                * (d.list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, d.list) + 1);
        int band = 0;
        int name = 0;
        for (const QStringList &row : rows) {
            band = qMax(band, qCeil(metrics.horizontalAdvance(row[0])));
            name = qMax(name, qCeil(metrics.horizontalAdvance(row[1])));
        }
        QCOMPARE(d.list->columnWidth(0), band + margins);
        QCOMPARE(d.list->columnWidth(1), name + margins);
        const int client = d.list->maximumViewportSize().width();
        const int rest = client - d.list->columnWidth(0) - d.list->columnWidth(1) - 3;
        QCOMPARE(d.list->columnWidth(2), valueAtMinimum ? 50 : rest);
        QCOMPARE(valueAtMinimum, rest < 50);
    }

    void valueBoxFollowsTheCurrentRow_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("current");

        // The first click is plain, the others hold Ctrl.
        QTest::newRow("one row clicked") << QList<int> {2} << 2;
        QTest::newRow("several rows: the first in list order") << QList<int> {3, 1} << 1;
        QTest::newRow("the only selected row taken away again: the focused row")
                << QList<int> {2, 2} << 2;
    }

    // The user picks rows and types a value: it lands in the current row.
    void valueBoxFollowsTheCurrentRow()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(int, current);

        Dialog d(fourRows);
        for (qsizetype i = 0; i < clicks.size(); ++i)
            d.ClickRow(clicks[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        QCOMPARE(d.dialog.GetCurrentRow(), current);
        QCOMPARE(d.value->text(), fourRows[current][2]);

        d.value->setFocus();
        d.value->selectAll();
        QTest::keyClick(d.value, Qt::Key_X);
        QCOMPARE(d.Cell(current, 2), u"x"_s);
        QTest::keyClick(d.value, Qt::Key_Y);
        QCOMPARE(d.Cell(current, 2), u"xy"_s);
        for (int row = 0; row < 4; ++row) {
            if (row != current)
                QCOMPARE(d.Cell(row, 2), fourRows[row][2]);
        }
        // Typing in the middle keeps the cursor where it is.
        QTest::keyClick(d.value, Qt::Key_Left);
        QTest::keyClick(d.value, Qt::Key_Z);
        QCOMPARE(d.value->text(), u"xzy"_s);
        QCOMPARE(d.Cell(current, 2), u"xzy"_s);
    }

    // The user moves through the rows with the arrow keys.
    void arrowKeysMoveTheValueBox()
    {
        Dialog d(fourRows);
        d.list->setFocus();
        QTest::keyClick(d.list, Qt::Key_Down);
        QCOMPARE(d.value->text(), u"2"_s);
        QTest::keyClick(d.list, Qt::Key_Down);
        QCOMPARE(d.value->text(), u"2024-01-01"_s);
        QTest::keyClick(d.list, Qt::Key_Down);
        QCOMPARE(d.value->text(), QString());
    }

    // The user clears one value, changes the case of another and presses Enter.
    void okWritesEveryRowBack()
    {
        Dialog d(fourRows);
        d.ClickRow(2);
        d.value->setFocus();
        d.value->clear();
        d.ClickRow(1);
        d.value->setFocus();
        d.value->selectAll();
        QTest::keyClicks(d.value, u"Two"_s);
        d.ClickRow(0);
        d.value->setFocus();
        d.value->selectAll();
        QTest::keyClicks(d.value, u"A"_s);
        d.ClickRow(3);
        d.value->setFocus();
        QTest::keyClicks(d.value, u"b"_s);
        QTest::keyClick(d.value, Qt::Key_Return);

        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        // The same entry name in two bands keeps two independent values.
        QCOMPARE(Rows(d.dialog.GetParameters()),
                 (ParameterRows {{u"Header"_s, u"Id"_s, u"A"_s},
                                 {u"Lines"_s, u"Id"_s, u"Two"_s},
                                 {u"Lines"_s, u"From"_s, QString()},
                                 {u"Lines"_s, u"To"_s, u"b"_s}}));
    }

    // The user types a value and thinks better of it.
    void cancelKeepsTheList()
    {
        Dialog d(fourRows);
        d.value->setFocus();
        QTest::keyClicks(d.value, u"99"_s);
        QCOMPARE(d.Cell(0, 2), u"199"_s);
        QTest::mouseClick(d.dialog.findChild<QPushButton *>(u"cancelButton"_s), Qt::LeftButton);
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(Rows(d.dialog.GetParameters()), fourRows);
    }

    void okButtonAccepts()
    {
        Dialog d(fourRows);
        QTest::mouseClick(d.dialog.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Rows(d.dialog.GetParameters()), fourRows);
    }
};

VANTEL_TEST_CLASS(TestReportParametersDlg)
#include "tst_reportparametersdlg.moc"
