#include "quarndoc.h"
#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The document's file commands and its grid setting.
class TestQuarnDoc : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().remove(CQuarnDoc::GridSettingKey()); }

    void gridSettingReadAtCreationWrittenAtDestruction()
    {
        {
            CQuarnDoc doc;
            QVERIFY(doc.IsGridOn()); // no setting yet: the default is on
            doc.ToggleGrid();
            // Written only when the document goes away.
            QCOMPARE(QSettings().value(CQuarnDoc::GridSettingKey(), 7).toInt(), 7);
        }
        QCOMPARE(QSettings().value(CQuarnDoc::GridSettingKey()).toInt(), 0);
        CQuarnDoc again;
        QVERIFY(!again.IsGridOn());
    }

    void newStartsAnEmptyReport()
    {
        CQuarnDoc doc;
        QString message;
        QVERIFY(doc.OnOpenDocument(TestUtil::FixturePath(QStringLiteral("full_report.vnt")),
                                   message));
        doc.GetReport().SetPortrait(0);
        doc.SetModifiedFlag();
        QSignalSpy reset(&doc, &CVornDocument::reportReset);
        QVERIFY(doc.OnNewDocument());
        QCOMPARE(reset.count(), 1);
        const CVornReport &report = doc.GetReport();
        QVERIFY(report.GetTitle().isEmpty());
        QVERIFY(report.GetConnectString().isEmpty());
        QCOMPARE(report.GetDatabaseType(), -1);
        QCOMPARE(report.GetPortrait(), 1);
        QCOMPARE(report.GetBands().GetCount(), 0);
        QCOMPARE(report.GetParameters().GetCount(), 0);
        QVERIFY(!doc.IsModified());
        QVERIFY(doc.GetPathName().isEmpty());
        QCOMPARE(doc.GetTitle(), QStringLiteral("Untitled"));
    }

    void failedOpenKeepsThePreviousReport_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("truncated") << QStringLiteral("truncated_report.vnt");
        QTest::newRow("unknown item kind") << QStringLiteral("item_of_unknown_type.vnt");
        QTest::newRow("missing") << QStringLiteral("absent.vnt");
    }
    void failedOpenKeepsThePreviousReport()
    {
        QFETCH(QString, fixture);
        CQuarnDoc doc;
        QString message;
        const QString good = TestUtil::FixturePath(QStringLiteral("full_report.vnt"));
        QVERIFY(doc.OnOpenDocument(good, message));
        CVornBand *firstBand = doc.GetReport().GetBands()[0];
        doc.SetModifiedFlag();

        QSignalSpy reset(&doc, &CVornDocument::reportReset);
        QVERIFY(!doc.OnOpenDocument(TestUtil::FixturePath(fixture), message));
        QVERIFY(!message.isEmpty());
        QCOMPARE(reset.count(), 0);
        // Same report, same objects, same path, still modified.
        QCOMPARE(doc.GetReport().GetBands().GetCount(), 4);
        QCOMPARE(doc.GetReport().GetBands()[0], firstBand);
        QCOMPARE(doc.GetPathName(), good);
        QVERIFY(doc.IsModified());
    }

    void reportFailingValidationOpensWithItsMessage()
    {
        // Read in full, it opens so that the user can mend it; the message says what is wrong.
        CQuarnDoc doc;
        QString message;
        const QString path = TestUtil::FixturePath(QStringLiteral("invalid_report.vnt"));
        QVERIFY(doc.OnOpenDocument(path, message));
        QString check;
        QVERIFY(!doc.GetReport().Validate(check));
        QCOMPARE(message, check);
        QCOMPARE(doc.GetPathName(), path);
        QVERIFY(!doc.IsModified());
        QVERIFY(doc.OnOpenDocument(TestUtil::FixturePath(QStringLiteral("full_report.vnt")),
                                   message));
        QVERIFY(message.isEmpty());
    }

    void saveWritesEvenWhenUnmodified()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.vnt"));
        CQuarnDoc doc;
        doc.OnNewDocument();
        QString message;
        QVERIFY(doc.OnSaveDocument(path, message));
        QVERIFY(QFile::exists(path));
        QCOMPARE(doc.GetPathName(), path);
        QCOMPARE(doc.GetTitle(), QStringLiteral("r.vnt"));
    }

    void databasePathRelativeOnSave_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("connect"); // "@" stands for the temporary folder
        QTest::addColumn<QString>("saved");
        QTest::newRow("beside the report") << 0 << u"@/shop.db"_s << u"shop.db"_s;
        QTest::newRow("in a sub-folder") << 0 << u"@/data/shop.db"_s << u"data/shop.db"_s;
        QTest::newRow("above the report") << 0 << u"@/../shop.db"_s << u"../shop.db"_s;
        QTest::newRow("already relative") << 0 << u"other/shop.db"_s << u"other/shop.db"_s;
        QTest::newRow("not SQLite") << 2 << u"@/shop.db"_s << u"@/shop.db"_s;
    }
    void databasePathRelativeOnSave()
    {
        // The user chose the database with the file button (a full path) and saves the report.
        QFETCH(int, type);
        QFETCH(QString, connect);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"reports"_s);
        QVERIFY(QDir().mkpath(folder));
        CQuarnDoc doc;
        doc.OnNewDocument();
        doc.GetReport().SetDatabaseType(type);
        doc.GetReport().SetConnectString(QString(connect).replace(u'@', folder));
        QString message;
        QVERIFY(doc.OnSaveDocument(folder + u"/r.vnt"_s, message));
        saved.replace(u'@', folder);
        QCOMPARE(doc.GetReport().GetConnectString(), saved);
        CVornReport read;
        QVERIFY(VornTemplate::Load(read, folder + u"/r.vnt"_s, message));
        QCOMPARE(read.GetConnectString(), saved);
        QVERIFY(!doc.IsModified());
        // A save that fails leaves the full path.
        doc.GetReport().SetConnectString(QString(connect).replace(u'@', folder));
        QVERIFY(!doc.OnSaveDocument(u"/nonexistent-folder/x.vnt"_s, message));
        QCOMPARE(doc.GetReport().GetConnectString(), QString(connect).replace(u'@', folder));
    }

    void databasePathFollowsSaveAs()
    {
        // Saved beside its database, then saved as a copy in a sub-folder: still the same file.
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"copies"_s)));
        CQuarnDoc doc;
        doc.OnNewDocument();
        doc.GetReport().SetDatabaseType(0);
        doc.GetReport().SetConnectString(dir.filePath(u"shop.db"_s));
        QString message;
        QVERIFY(doc.OnSaveDocument(dir.filePath(u"r.vnt"_s), message));
        QCOMPARE(doc.GetReport().GetConnectString(), u"shop.db"_s);
        QVERIFY(doc.OnSaveDocument(dir.filePath(u"copies/r.vnt"_s), message));
        QCOMPARE(doc.GetReport().GetConnectString(), u"../shop.db"_s);
        QVERIFY(doc.OnSaveDocument(dir.filePath(u"copies/r.vnt"_s), message));
        QCOMPARE(doc.GetReport().GetConnectString(), u"../shop.db"_s);
    }

    void failedSaveKeepsPathAndModifiedFlag()
    {
        CQuarnDoc doc;
        doc.OnNewDocument();
        doc.GetReport().SetTitle(QStringLiteral("Unsaved work"));
        doc.SetModifiedFlag();
        QString message;
        QVERIFY(!doc.OnSaveDocument(QStringLiteral("/nonexistent-folder/x.vnt"), message));
        QCOMPARE(message, QStringLiteral("No such file or directory"));
        QVERIFY(doc.IsModified());
        QVERIFY(doc.GetPathName().isEmpty());
        QCOMPARE(doc.GetReport().GetTitle(), QStringLiteral("Unsaved work"));
    }
};

VANTEL_TEST_CLASS(TestQuarnDoc)
#include "tst_quarndoc.moc"
