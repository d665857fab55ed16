#include "messageboxrunui.h"
#include "reportparametersdlg.h"
#include "runtestsupport.h"
#include "testregistry.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// Notes what the message box shows and presses one of its buttons.
CModalAnswers::Handler Press(QMessageBox::StandardButton button, SeenBox &seen)
{
    return [button, &seen](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->standardButtons()};
        box->button(button)->click();
    };
}

} // namespace

// The Run command as the designer shows it: real message boxes and the real
// Report Parameters dialog.
class TestRunMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void init() { CReportRunner::ResetWarningAcceptedForTesting(); }

    // The user runs a new, empty report from the menu.
    void emptyReportThroughRunReport()
    {
        CVornDocument document;
        SeenBox seen;
        CModalAnswers answers({Press(QMessageBox::Ok, seen)});
        RunReport(document, nullptr);
        QCOMPARE(answers.handled, 1);
        QCOMPARE(answers.unexpected, 0);
        QCOMPARE(seen.title, u"Vantel"_s);
        QCOMPARE(seen.text, u"The report is empty, nothing to run"_s);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    // The engine fails with a message of 1,023 characters without a blank: the user sees
    // all of it, wrapped, and can select it.
    void longMessageWraps()
    {
        QString message;
        while (message.size() < 1023)
            message += u"C:/Data/orders_2024/"_s;
        message.truncate(1023);
        QString shown;
        int lines = 0;
        int width = 0;
        bool selectable = false;
        bool textKept = false;
        CModalAnswers answers({[&](QWidget *window) {
            auto *box = qobject_cast<QMessageBox *>(window);
            auto *view = box ? box->findChild<QPlainTextEdit *>(u"messageText"_s) : nullptr;
            if (!view)
                return;
            textKept = box->text() == message;
            shown = view->toPlainText();
            lines = view->height() / view->fontMetrics().lineSpacing();
            width = box->width();
            selectable = view->textInteractionFlags() & Qt::TextSelectableByMouse;
            box->button(QMessageBox::Ok)->click();
        }});
        CMessageBoxRunUi ui;
        ui.ShowMessage(message);
        QCOMPARE(answers.handled, 1);
        QCOMPARE(shown, message);
        QVERIFY(textKept);
        QVERIFY2(lines > 5, qPrintable(QString::number(lines)));
        QVERIFY(width < 1200);
        QVERIFY(selectable);
    }

    // The user runs a report, but the engine library is not installed beside
    // the program.
    void missingEngineThroughRunReport()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        SeenBox seen;
        CModalAnswers answers({Press(QMessageBox::Ok, seen)});
        RunReport(document, nullptr);
        QCOMPARE(answers.handled, 1);
        QCOMPARE(answers.unexpected, 0);
        QCOMPARE(seen.text, u"The libvantel.so file was not found in the program's folder"_s);
    }

    // The user declines the warning, then runs again and accepts it.
    void warningBoxNoThenYes()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        CEngineScript script({u"result\t1"_s});
        CMessageBoxRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        SeenBox declined;
        {
            CModalAnswers answers({Press(QMessageBox::No, declined)});
            QCOMPARE(runner.Run(document), CReportRunner::Outcome::WarningDeclined);
            QCOMPARE(answers.handled, 1);
            QCOMPARE(answers.unexpected, 0);
        }
        QCOMPARE(declined.title, u"Vantel"_s);
        QCOMPARE(declined.buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(declined.text.endsWith(u"Do you still wish to launch the report?"_s));

        SeenBox accepted;
        CModalAnswers answers({Press(QMessageBox::Yes, accepted)});
        QCOMPARE(runner.Run(document), CReportRunner::Outcome::Succeeded);
        QCOMPARE(answers.handled, 1);
        QCOMPARE(answers.unexpected, 0);
        QVERIFY(!script.Record().isEmpty());
    }

    // The user types a new value in the dialog and presses OK; the run stops
    // because the report must be saved first.
    void newValueThroughTheDialog()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, u"SELECT * FROM t WHERE id = {Id}"_s);
        document.GetReport().GetParameters().SetParameter(u"Lines"_s, u"Id"_s, u"5"_s);
        MarkSaved(document);
        CEngineScript script({});
        CMessageBoxRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        SeenBox warning;
        SeenBox notSaved;
        QString shownValue;
        CModalAnswers answers({Press(QMessageBox::Yes, warning),
                               [&shownValue](QWidget *window) {
                                   auto *edit = window->findChild<QLineEdit *>(u"valueEdit"_s);
                                   shownValue = edit->text();
                                   edit->selectAll();
                                   QTest::keyClicks(edit, u"7"_s);
                                   QTest::keyClick(edit, Qt::Key_Return);
                               },
                               Press(QMessageBox::Ok, notSaved)});
        QCOMPARE(runner.Run(document), CReportRunner::Outcome::NotSaved);
        QCOMPARE(answers.handled, 3);
        QCOMPARE(answers.unexpected, 0);
        QCOMPARE(shownValue, u"5"_s);
        QCOMPARE(document.GetReport().GetParameters()[0]->GetValue(), u"7"_s);
        QVERIFY(document.IsModified());
        QVERIFY(notSaved.text.startsWith(u"This report was not saved"_s));
        QVERIFY(script.Record().isEmpty());
    }

    // The user opens the dialog and cancels it: nothing changes, nothing runs.
    void dialogCancelled()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, u"SELECT {Id}"_s);
        MarkSaved(document);
        CEngineScript script({});
        CMessageBoxRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        SeenBox warning;
        CModalAnswers answers({Press(QMessageBox::Yes, warning), [](QWidget *window) {
                                   auto *edit = window->findChild<QLineEdit *>(u"valueEdit"_s);
                                   QTest::keyClicks(edit, u"abc"_s);
                                   QTest::keyClick(window, Qt::Key_Escape);
                               }});
        QCOMPARE(runner.Run(document), CReportRunner::Outcome::Cancelled);
        QCOMPARE(answers.handled, 2);
        QCOMPARE(answers.unexpected, 0);
        QCOMPARE(document.GetReport().GetParameters().GetCount(), 0);
        QVERIFY(!document.IsModified());
        QVERIFY(script.Record().isEmpty());
    }

    // The engine fails with a message that looks like markup: the user reads
    // it as written.
    void engineMessageShownAsPlainText()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        CEngineScript script({u"message\t<b>Table</b> not found"_s, u"result\t0"_s});
        CMessageBoxRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        SeenBox warning;
        QString format;
        SeenBox failure;
        CModalAnswers answers({Press(QMessageBox::Yes, warning), [&](QWidget *window) {
                                   auto *box = qobject_cast<QMessageBox *>(window);
                                   format = box->textFormat() == Qt::PlainText ? u"plain"_s
                                                                               : u"other"_s;
                                   Press(QMessageBox::Ok, failure)(window);
                               }});
        QCOMPARE(runner.Run(document), CReportRunner::Outcome::EngineFailed);
        QCOMPARE(answers.handled, 2);
        QCOMPARE(failure.text, u"<b>Table</b> not found"_s);
        QCOMPARE(format, u"plain"_s);
    }
};

VANTEL_TEST_CLASS(TestRunMessageBoxes)
#include "tst_runmessageboxes.moc"
