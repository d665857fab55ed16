#include "pagecontent.h"
#include "pagemodel.h"
#include "reportfixture.h"
#include "reportpreviewer.h"
#include "reportrun.h"
#include "runui.h"
#include "testregistry.h"
#include "vorndocument.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class CScriptedUi : public CRunUi
{
public:
    void ShowMessage(const QString &text) override { messages.append(text); }
    bool AskYesNo(const QString &) override { return true; }
    bool EditParameters(CVornParameters &parameters) override
    {
        for (const CVornParameter *parameter : parameters)
            shown.append(parameter->GetBand() + u'/' + parameter->GetName() + u'='
                         + parameter->GetValue());
        if (!answer.isEmpty())
            parameters[0]->SetValue(answer);
        return !cancel;
    }

    QString answer;
    bool cancel = false;
    QStringList messages;
    QStringList shown;
};

QStringList PageTexts(const CPageModel &model)
{
    QStringList texts;
    for (int i = 0; i < model.GetPageCount(); ++i) {
        for (const CPageItem &item : model.GetPage(i)->GetItems()) {
            if (const auto *text = std::get_if<CPageText>(&item))
                texts << text->text;
        }
    }
    return texts;
}

} // namespace

// The user previews a report that was never saved: the parameters dialog shows the stored
// value, the typed value reaches the layout, and the report stays exactly as it was.
class TestReportPreviewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(ReportFixture::CreatePeople(m_dir.filePath(u"people.db"_s), 20), QString());
        // The preview closes itself once laid out, as if the user closed it.
        qputenv("VANTEL_PREVIEW_AUTOCLOSE", "1");
    }

    void cleanupTestCase() { qunsetenv("VANTEL_PREVIEW_AUTOCLOSE"); }

    void typedValuesReachTheLayoutAndNothingIsStored()
    {
        CVornDocument document;
        ReportFixture::MakeListReport(document.GetReport(), m_dir.filePath(u"people.db"_s),
                                      u"SELECT Name FROM People WHERE Id <= {LAST}"_s);
        document.GetReport().GetParameters().SetParameter(u"Rows"_s, u"LAST"_s, u"2"_s);
        CScriptedUi ui;
        ui.answer = u"3"_s;
        CVornParameters values;
        CRunOptions options;
        QVERIFY(CReportPreviewer(ui).Prepare(document, values, options));
        QCOMPARE(ui.shown, QStringList {u"Rows/LAST=2"_s});

        CPageModel model;
        QString message;
        QVERIFY2(RunReport(document.GetReport(), options, model, message), qPrintable(message));
        QCOMPARE(PageTexts(model), QStringList({u"Person 1"_s, u"Person 2"_s, u"Person 3"_s}));

        CReportPreviewer(ui).Preview(document, nullptr);
        QCOMPARE(ui.messages, QStringList());
        QVERIFY(!document.IsModified());
        QCOMPARE(document.GetReport().GetParameters()[0]->GetValue(), u"2"_s);
    }

    void failuresAreShown_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled dialog")
                << u"SELECT Name FROM People WHERE Id <= {LAST}"_s << true << QString();
        QTest::newRow("misplaced brace")
                << u"SELECT } FROM People"_s << false << u"Failed to parse report parameters: "_s;
        QTest::newRow("query error") << u"SELECT Nme FROM People"_s << false << u"Rows"_s;
    }
    void failuresAreShown()
    {
        QFETCH(QString, query);
        QFETCH(bool, cancel);
        QFETCH(QString, message);
        CVornDocument document;
        ReportFixture::MakeListReport(document.GetReport(), m_dir.filePath(u"people.db"_s), query);
        CScriptedUi ui;
        ui.cancel = cancel;
        CReportPreviewer(ui).Preview(document, nullptr);
        if (message.isEmpty()) {
            QCOMPARE(ui.messages, QStringList());
        } else {
            QCOMPARE(ui.messages.size(), 1);
            QVERIFY2(ui.messages[0].contains(message), qPrintable(ui.messages[0]));
        }
    }

    void emptyReport()
    {
        CVornDocument document;
        CScriptedUi ui;
        CReportPreviewer(ui).Preview(document, nullptr);
        QCOMPARE(ui.messages, QStringList {u"The report is empty, nothing to run"_s});
    }

private:
    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestReportPreviewer)
#include "tst_reportpreviewer.moc"
