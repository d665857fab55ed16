#include "expressiondlg.h"
#include "syntaxricheditctrl.h"
#include "testregistry.h"

#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// A user writes a Print When condition in the expression editor: a field and a function go in
// by double-click, a slip shows at once with its place, the value on the first row comes from
// the program's worker, and OK keeps the dialog open until the text is sound.
class TestExpressionDlg : public QObject
{
    Q_OBJECT

private slots:
    void writingACondition()
    {
        CExpressionDlg dialog;
        dialog.SetExpression(QString(), true);
        dialog.SetFields({u"[Lines].[QTY]"_s, u"[Lines].[PRICE]"_s});
        dialog.SetPreview([](const QString &text, const std::atomic_bool &) {
            return text == u"ROUND([Lines].[PRICE] > 2"_s ? u"never"_s : u"= TRUE"_s;
        });
        auto *edit = dialog.findChild<CSyntaxRichEditCtrl *>(u"expressionEdit"_s);
        auto *fields = dialog.findChild<QListWidget *>(u"fieldList"_s);
        auto *functions = dialog.findChild<QListWidget *>(u"functionList"_s);
        QVERIFY(edit && fields && functions);
        dialog.show();

        const auto doubleClick = [](QListWidget *list, const QString &text) {
            const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchStartsWith);
            QVERIFY(!found.isEmpty());
            emit list->itemDoubleClicked(found.first());
        };
        doubleClick(functions, u"ROUND("_s);
        doubleClick(fields, u"[Lines].[PRICE]"_s);
        QTest::keyClicks(edit, u" > 2"_s);
        QCOMPARE(edit->toPlainText(), u"ROUND([Lines].[PRICE] > 2"_s);
        QVERIFY2(dialog.Problem().contains(u"at character 26"_s), qPrintable(dialog.Problem()));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(edit->textCursor().position(), dialog.ProblemPosition());

        edit->setPlainText(u"ROUND([Lines].[PRICE], 0) > 2"_s);
        QCOMPARE(dialog.Problem(), QString());
        QTRY_COMPARE(dialog.PreviewText(), u"= TRUE"_s);
        edit->setPlainText(u"[Lines].[QTY] + 1"_s);
        QVERIFY(!dialog.Problem().isEmpty()); // a number is no condition
        edit->setPlainText(u"[Lines].[QTY] > 1"_s);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Expression(), u"[Lines].[QTY] > 1"_s);
    }
};

VANTEL_TEST_CLASS(TestExpressionDlg)
#include "tst_expressiondlg.moc"
