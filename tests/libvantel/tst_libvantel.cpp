#include "reportfile.h"
#include "reportfixture.h"
#include "testregistry.h"
#include "vantelengine.h"

#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Answers LAST with "7" and records what the engine asked.
int Answer(const char16_t *band, const char16_t *name, char16_t *value, void *context)
{
    auto *asked = static_cast<QStringList *>(context);
    asked->append(QString::fromUtf16(band) + u'/' + QString::fromUtf16(name));
    if (QString::fromUtf16(name) == u"LAST"_s) {
        value[0] = u'7';
        value[1] = u'\0';
    }
    return 1;
}

struct CallResult
{
    int result = -1;
    QString message;
    QStringList asked;
};

// Loads the library, calls the entry once and unloads it, as Run does.
CallResult CallEngine(const QString &report)
{
    CallResult call;
    QLibrary library(QStringLiteral(VANTEL_ENGINE_PATH));
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load()) {
        call.message = library.errorString();
        return call;
    }
    const auto entry = reinterpret_cast<VntPreviewFunc>(library.resolve(VNT_PREVIEW_ENTRY));
    if (entry) {
        const std::u16string path = report.toStdU16String();
        std::vector<char16_t> error(VNT_ERROR_CHARS, u'\0');
        call.result = entry(path.c_str(), &Answer, &call.asked, error.data());
        const auto end = std::find(error.cbegin(), error.cend(), u'\0');
        call.message = QString::fromUtf16(error.data(), end - error.cbegin());
    }
    library.unload();
    return call;
}

} // namespace

// The engine library as the designer and other programs use it: loaded, called and unloaded
// again and again, failing with one message, succeeding when the preview is closed.
class TestLibVantel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A report that shows by mistake closes at once instead of waiting for a user.
        qputenv("VANTEL_PREVIEW_AUTOCLOSE", "1");
        QVERIFY(m_dir.isValid());
        QCOMPARE(ReportFixture::CreatePeople(m_dir.filePath(u"people.db"_s), 50), QString());
        const auto save = [this](const QString &file, const QString &connect, const QString &query,
                                 const QString &format) {
            CVornReport report;
            ReportFixture::MakeListReport(report, connect, query);
            static_cast<CVornDbText *>(report.GetBands()[0]->GetItems()[0])->SetFormat(format);
            report.GetParameters().SetParameter(u"Rows"_s, u"LAST"_s, u"5"_s);
            QString message;
            QVERIFY2(VornTemplate::Save(report, m_dir.filePath(file), message),
                     qPrintable(message));
        };
        const QString query = u"SELECT Name FROM People WHERE Id <= {LAST}"_s;
        save(u"good.vnt"_s, u"people.db"_s, query, QString());
        save(u"nodb.vnt"_s, u"nothere.db"_s, query, QString());
        save(u"badquery.vnt"_s, u"people.db"_s, u"SELEC Name FROM People"_s, QString());
        save(u"badformat.vnt"_s, u"people.db"_s, query, u"%n"_s);
    }

    void failuresGiveTheirMessage_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << u"nothere.vnt"_s << u"File not found"_s;
        QTest::newRow("missing database") << u"nodb.vnt"_s << u"nothere.db"_s;
        QTest::newRow("bad query") << u"badquery.vnt"_s << u"Rows"_s;
        QTest::newRow("bad format") << u"badformat.vnt"_s << u"%n"_s;
    }
    void failuresGiveTheirMessage()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        for (int i = 0; i < 3; ++i) {
            const CallResult call = CallEngine(m_dir.filePath(file));
            QCOMPARE(call.result, 0);
            QVERIFY2(call.message.contains(message), qPrintable(call.message));
        }
    }

    void succeedsWhenThePreviewIsClosed()
    {
        const CallResult call = CallEngine(m_dir.filePath(u"good.vnt"_s));
        QCOMPARE(call.message, QString());
        QCOMPARE(call.result, 1);
        QCOMPARE(call.asked, QStringList {u"Rows/LAST"_s});
    }

    void hostWithoutQt()
    {
        // A program with no application object of its own, loading the library three times.
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"VANTEL_PREVIEW_AUTOCLOSE"_s, u"1"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(VANTEL_TEST_HOST_PATH),
                   {QStringLiteral(VANTEL_ENGINE_PATH), m_dir.filePath(u"good.vnt"_s), u"3"_s,
                    u"rows"_s, u"last"_s, u"9"_s});
        QVERIFY(host.waitForFinished(120000));
        QCOMPARE(host.exitCode(), 0);
        const QString expected = u"asked Rows/LAST [5]\nresult 1 \n"_s;
        QCOMPARE(QString::fromUtf8(host.readAllStandardOutput()), expected + expected + expected);
    }

    void noDisplayIsAMessageNotAnAbort()
    {
        // Without a display Qt would end the whole host; the engine says so instead.
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            env.remove(name);
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(VANTEL_TEST_HOST_PATH),
                   {QStringLiteral(VANTEL_ENGINE_PATH), m_dir.filePath(u"good.vnt"_s), u"1"_s});
        QVERIFY(host.waitForFinished(120000));
        QCOMPARE(host.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(host.readAllStandardOutput()),
                 u"result 0 There is no display to show the preview on "
                 "(DISPLAY and WAYLAND_DISPLAY are not set)\n"_s);
    }

    void exportsOnlyTheEntry()
    {
        QProcess nm;
        nm.start(u"nm"_s, {u"-D"_s, u"--defined-only"_s, QStringLiteral(VANTEL_ENGINE_PATH)});
        QVERIFY(nm.waitForFinished(60000));
        QStringList names;
        for (const QString &line : QString::fromUtf8(nm.readAllStandardOutput()).split(u'\n')) {
            const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
            if (fields.size() == 3)
                names << fields[2];
        }
        QCOMPARE(names, QStringList {u"vntPreviewW"_s});
    }

private:
    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestLibVantel)
#include "tst_libvantel.moc"
