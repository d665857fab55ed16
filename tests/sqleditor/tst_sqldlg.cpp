#include "sqldlg.h"
#include "sqlsyntaxparser.h"
#include "syntaxricheditctrl.h"
#include "testregistry.h"

#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

using namespace Qt::StringLiterals;

// The SQL Editor dialog: what it returns after OK and Cancel, how it opens,
// and how its controls follow a resize.
class TestSqlDlg : public QObject
{
    Q_OBJECT

private:
    static CSyntaxRichEditCtrl *Edit(const CSqlDlg &dialog)
    {
        return dialog.findChild<CSyntaxRichEditCtrl *>(u"sqlEdit"_s);
    }
    static QPushButton *Button(const CSqlDlg &dialog, const QString &name)
    {
        return dialog.findChild<QPushButton *>(name);
    }

private slots:
    void closing_data()
    {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::newRow("OK without changes")
                << u"SELECT *\nFROM t\nWHERE x = 1"_s << false << QString() << true
                << u"SELECT *\nFROM t\nWHERE x = 1"_s;
        QTest::newRow("OK returns the typed text")
                << u"SELECT"_s << false << u" 1"_s << true << u"SELECT 1"_s;
        QTest::newRow("Cancel keeps the old text")
                << u"SELECT"_s << false << u" 1"_s << false << u"SELECT"_s;
        QTest::newRow("cleared text and OK")
                << u"SELECT"_s << true << QString() << true << QString();
        QTest::newRow("empty text") << QString() << false << QString() << true << QString();
        QTest::newRow("CR LF line ends kept")
                << u"SELECT\r\nx"_s << false << u"1"_s << true << u"SELECT\r\nx1"_s;
    }
    // The user opens the editor on a query, edits it and closes it with OK or
    // Cancel.
    void closing()
    {
        QFETCH(QString, initial);
        QFETCH(bool, clear);
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(QString, result);

        CSqlDlg dialog;
        dialog.SetSqlText(initial);
        QTimer::singleShot(0, &dialog, [&dialog, clear, typed, ok] {
            CSyntaxRichEditCtrl *edit = Edit(dialog);
            if (clear) {
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Delete);
            }
            edit->moveCursor(QTextCursor::End);
            QTest::keyClicks(edit, typed);
            QTest::mouseClick(Button(dialog, ok ? u"okButton"_s : u"cancelButton"_s),
                              Qt::LeftButton);
        });
        QTimer::singleShot(10000, &dialog, &QDialog::reject);
        QCOMPARE(dialog.exec(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(dialog.SqlText(), result);
    }

    // The user opens the editor: the query is shown coloured and the text area
    // has the focus; opened again, it shows the text accepted the first time.
    void opening()
    {
        CSqlDlg dialog;
        QCOMPARE(dialog.windowTitle(), u"SQL Editor"_s);
        QVERIFY(Button(dialog, u"okButton"_s)->isDefault());
        CSyntaxRichEditCtrl *edit = Edit(dialog);
        QCOMPARE(edit->Parser(), nullptr);

        dialog.SetSqlText(u"SELECT 1\nFROM t"_s);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(edit->toPlainText(), u"SELECT 1\nFROM t"_s);
        QCOMPARE(edit->Parser(), &CSQLSyntaxParser::Shared());
        QCOMPARE(edit->document()->lastBlock().layout()->formats().at(0).format.fontWeight(),
                 int(QFont::Bold));
        QCOMPARE(dialog.focusWidget(), edit);

        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, u" u"_s);
        QTest::mouseClick(Button(dialog, u"okButton"_s), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        edit->setPlainText(u"left over"_s);
        dialog.show();
        QCOMPARE(edit->toPlainText(), u"SELECT 1\nFROM t u"_s);
    }

    // Controls that end on the same dialog unit end on the same pixel; equal
    // sizes in dialog units may differ by the one pixel of rounding.
    void layout()
    {
        CSqlDlg dialog;
        const QRect edit = Edit(dialog)->geometry();
        const QRect ok = Button(dialog, u"okButton"_s)->geometry();
        const QRect cancel = Button(dialog, u"cancelButton"_s)->geometry();
        QCOMPARE(cancel.right(), edit.right());
        QCOMPARE(ok.height(), cancel.height());
        QVERIFY(qAbs(ok.width() - cancel.width()) <= 1);
        QCOMPARE(ok.top(), cancel.top());
        QVERIFY(ok.right() < cancel.left());
        QVERIFY(edit.bottom() < ok.top());
        QVERIFY(cancel.bottom() < dialog.height());
    }

    void resizing_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("enlarged") << 150 << 90;
        QTest::newRow("wider only") << 60 << 0;
        QTest::newRow("made smaller") << -50 << -30;
    }
    // The user drags the dialog's corner: the text area grows with it and the
    // buttons stay at the same distance from the lower-right corner.
    void resizing()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        CSqlDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWidget *edit = Edit(dialog);
        QWidget *ok = Button(dialog, u"okButton"_s);
        QWidget *cancel = Button(dialog, u"cancelButton"_s);
        const QRect editBefore = edit->geometry();
        const QRect okBefore = ok->geometry();
        const QRect cancelBefore = cancel->geometry();

        const QSize target = dialog.size() + QSize(dx, dy);
        dialog.resize(target);
        QTRY_COMPARE(dialog.size(), target);
        QCOMPARE(edit->geometry(), editBefore.adjusted(0, 0, dx, dy));
        QCOMPARE(ok->geometry(), okBefore.translated(dx, dy));
        QCOMPARE(cancel->geometry(), cancelBefore.translated(dx, dy));
    }
};

VANTEL_TEST_CLASS(TestSqlDlg)
#include "tst_sqldlg.moc"
