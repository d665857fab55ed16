#include "commandtable.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "quarndoc.h"
#include "recentfilelist.h"
#include "testregistry.h"
#include "testutil.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The text, or its start when the pattern ends in "*".
bool Matches(const QString &text, const QString &pattern)
{
    return pattern.endsWith(u'*') ? text.startsWith(pattern.chopped(1)) : text == pattern;
}

} // namespace

// The user reopens the reports they worked on last from the File menu: the four newest,
// opened or saved, newest first; an entry that no longer opens leaves the list.
class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void cleanup() { QSettings().clear(); }

    void listRules_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("newest first") << QStringList({u"/r/a.vnt"_s, u"/r/b.vnt"_s})
                                      << QStringList({u"/r/b.vnt"_s, u"/r/a.vnt"_s});
        QTest::newRow("a listed file moves to the top")
                << QStringList({u"/r/a.vnt"_s, u"/r/b.vnt"_s, u"/r/c.vnt"_s, u"/r/a.vnt"_s})
                << QStringList({u"/r/a.vnt"_s, u"/r/c.vnt"_s, u"/r/b.vnt"_s});
        QTest::newRow("four at most")
                << QStringList({u"/r/1.vnt"_s, u"/r/2.vnt"_s, u"/r/3.vnt"_s, u"/r/4.vnt"_s,
                                u"/r/5.vnt"_s})
                << QStringList({u"/r/5.vnt"_s, u"/r/4.vnt"_s, u"/r/3.vnt"_s, u"/r/2.vnt"_s});
        QTest::newRow("paths are made absolute")
                << QStringList({u"/r/x/../a.vnt"_s, u"a.vnt"_s})
                << QStringList({QDir::current().absoluteFilePath(u"a.vnt"_s), u"/r/a.vnt"_s});
        QTest::newRow("letter case counts") << QStringList({u"/r/A.vnt"_s, u"/r/a.vnt"_s})
                                            << QStringList({u"/r/a.vnt"_s, u"/r/A.vnt"_s});
        QTest::newRow("an empty path is no file")
                << QStringList({u"/r/a.vnt"_s, u""_s}) << QStringList({u"/r/a.vnt"_s});
    }
    void listRules()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, expected);

        CRecentFileList list;
        for (const QString &path : added)
            list.Add(path);
        QCOMPARE(list.GetFiles(), expected);

        // Kept as "File1".. in the settings, stale keys removed.
        QSettings settings;
        for (int i = 0; i < 4; ++i)
            settings.setValue(QStringLiteral("Recent File List/File%1").arg(i + 1),
                              QStringLiteral("/old.vnt"));
        list.Save();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(
                    settings.value(QStringLiteral("Recent File List/File%1").arg(i + 1)).toString(),
                    i < expected.size() ? expected.at(i) : QString());
        }
        CRecentFileList read;
        read.Load();
        QCOMPARE(read.GetFiles(), expected);
    }

    void menuText_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");

        QTest::newRow("first") << 0 << "/r/orders.vnt"
                               << "&1 /r/orders.vnt";
        QTest::newRow("home folder")
                << 3 << QDir::homePath() + QStringLiteral("/orders.vnt") << "&4 ~/orders.vnt";
        QTest::newRow("an ampersand shows as itself") << 1 << "/r/Sales & Returns.vnt"
                                                      << "&2 /r/Sales && Returns.vnt";
        const QString folder = QStringLiteral("/reports/") + QString(70, u'f');
        QTest::newRow("long path keeps its file name")
                << 2 << folder + QStringLiteral("/monthly.vnt")
                << QStringLiteral("&3 ") + folder.left(60 - 11 - 4)
                        + QStringLiteral("\u2026/monthly.vnt");
    }
    void menuText()
    {
        QFETCH(int, index);
        QFETCH(QString, path);
        QFETCH(QString, text);
        QCOMPARE(CRecentFileList::MenuText(index, path), text);
    }

    void openAndSaveFillTheMenu()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.vnt"));
        const QString second = dir.filePath(QStringLiteral("second.vnt"));
        QVERIFY(QFile::copy(TestUtil::FixturePath(QStringLiteral("full_report.vnt")), first));
        {
            CQuarnDoc doc;
            CMainFrame frame(&doc);
            QVERIFY(frame.OpenDocumentFile(first));
            QVERIFY(frame.SaveDocumentTo(second));
            QCOMPARE(frame.GetRecentFiles().GetFiles(), QStringList({second, first}));
        }
        // The next start lists them again, with their prompt.
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QAction *top = frame.findChild<QAction *>(QStringLiteral("ID_57616"));
        QAction *next = frame.findChild<QAction *>(QStringLiteral("ID_57617"));
        QVERIFY(top && next);
        QCOMPARE(top->text(), CRecentFileList::MenuText(0, second));
        QCOMPARE(next->text(), CRecentFileList::MenuText(1, first));
        QCOMPARE(top->statusTip(), QStringLiteral("Open this document"));
        QVERIFY(top->isEnabled());
        // Between the two separators above Exit.
        const QList<QAction *> file = frame.menuBar()->actions().constFirst()->menu()->actions();
        const qsizetype at = file.indexOf(top);
        QVERIFY(at > 0);
        QVERIFY(file.at(at - 1)->isSeparator());
        QCOMPARE(file.at(at + 1), next);
        QVERIFY(file.at(at + 2)->isSeparator());

        next->trigger();
        QCOMPARE(doc.GetPathName(), first);
        QCOMPARE(frame.GetRecentFiles().GetFiles(), QStringList({first, second}));
    }

    void entryThatDoesNotOpen_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stays");

        QTest::newRow("missing file leaves the list")
                << false << false << int(QMessageBox::Ok) << "File not found: *" << false;
        QTest::newRow("cancelled save prompt keeps it")
                << true << true << int(QMessageBox::Cancel) << "Save changes to Untitled?" << true;
    }
    void entryThatDoesNotOpen()
    {
        QFETCH(bool, exists);
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(bool, stays);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.vnt"));
        const QString other = dir.filePath(QStringLiteral("other.vnt"));
        if (exists)
            QVERIFY(QFile::copy(TestUtil::FixturePath(QStringLiteral("full_report.vnt")), path));
        QSettings().setValue(QStringLiteral("Recent File List/File1"), path);
        QSettings().setValue(QStringLiteral("Recent File List/File2"), other);

        CQuarnDoc doc;
        CMainFrame frame(&doc);
        doc.SetModifiedFlag(modified);
        CModalAnswer modal {QMessageBox::StandardButton(answer)};
        QVERIFY(!frame.OpenRecentFile(0));
        QCOMPARE(modal.texts.size(), 1);
        QVERIFY2(Matches(modal.texts.constFirst(), message), qPrintable(modal.texts.constFirst()));
        const QStringList expected = stays ? QStringList({path, other}) : QStringList({other});
        QCOMPARE(frame.GetRecentFiles().GetFiles(), expected);
        CRecentFileList stored;
        stored.Load();
        QCOMPARE(stored.GetFiles(), expected);
        QCOMPARE(frame.findChild<QAction *>(QStringLiteral("ID_57616"))->text(),
                 CRecentFileList::MenuText(0, expected.constFirst()));
        doc.SetModifiedFlag(false);
    }
};

VANTEL_TEST_CLASS(TestRecentFiles)
#include "tst_recentfiles.moc"
