#include "fileutil.h"
#include "testregistry.h"
#include "testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestFileUtil : public QObject
{
    Q_OBJECT

private slots:
    void folderOfPath_data();
    void folderOfPath();
    void programFolder();
    void fileExists_data();
    void fileExists();
    void readWholeFile_data();
    void readWholeFile();
    void readWholeFileShortRead();

private:
    // Creates the named kind of entry in m_dir and gives its path.
    QString MakeEntry(const QString &kind, const QByteArray &content);

    QTemporaryDir m_dir;
};

QString TestFileUtil::MakeEntry(const QString &kind, const QByteArray &content)
{
    const QString path
            = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
    if (kind == u"file")
        TestUtil::WriteAll(path, content);
    else if (kind == u"folder")
        QDir().mkpath(path);
    else if (kind == u"dangling link")
        QFile::link(path + u".nowhere"_s, path);
    return kind == u"empty path" ? QString() : path;
}

void TestFileUtil::folderOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("full path") << u"/home/ann/report.vnt"_s << u"/home/ann"_s;
    QTest::newRow("no slash: the whole path") << u"report.vnt"_s << u"report.vnt"_s;
    QTest::newRow("file in the root") << u"/report.vnt"_s << QString();
    QTest::newRow("trailing slash") << u"a/b/"_s << u"a/b"_s;
}

void TestFileUtil::folderOfPath()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(FolderOfPath(path), folder);
}

void TestFileUtil::programFolder()
{
    const QString folder = ProgramFolder();
    QVERIFY(!folder.endsWith(u'/'));
    QVERIFY(QFileInfo::exists(folder + u'/'
                              + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

void TestFileUtil::fileExists_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("exists");
    QTest::newRow("file") << u"file"_s << true;
    QTest::newRow("folder") << u"folder"_s << true;
    QTest::newRow("missing") << u"missing"_s << false;
    QTest::newRow("dangling link") << u"dangling link"_s << false;
    QTest::newRow("empty path") << u"empty path"_s << false;
}

void TestFileUtil::fileExists()
{
    QFETCH(QString, kind);
    QFETCH(bool, exists);
    QVERIFY(m_dir.isValid());
    QCOMPARE(FileExists(MakeEntry(kind, "x")), exists);
}

void TestFileUtil::readWholeFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("bytes with NULs") << u"file"_s << QByteArray("<\0?\0x\0", 6) << QString();
    QTest::newRow("empty file") << u"file"_s << QByteArray() << QString();
    QTest::newRow("missing") << u"missing"_s << QByteArray() << u"File does not exist: \"%1\""_s;
    QTest::newRow("folder") << u"folder"_s << QByteArray() << u"Failed to open the file: \"%1\""_s;
}

void TestFileUtil::readWholeFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QVERIFY(m_dir.isValid());
    const QString path = MakeEntry(kind, content);
    QByteArray bytes = "stale";
    QString text;
    QCOMPARE(ReadWholeFile(path, bytes, text), message.isEmpty());
    QCOMPARE(text, message.isEmpty() ? QString() : message.arg(path));
    QCOMPARE(bytes, content);
}

void TestFileUtil::readWholeFileShortRead()
{
    // A sysfs file claims a size of a whole page but holds a few bytes: the
    // read ends before the size the file reported.
    const QString path = u"/sys/kernel/mm/transparent_hugepage/enabled"_s;
    if (QFileInfo(path).size() <= TestUtil::ReadAll(path).size())
        QSKIP("No file here reports more bytes than it holds");
    QByteArray bytes;
    QString message;
    QVERIFY(!ReadWholeFile(path, bytes, message));
    QCOMPARE(message, u"Failed to read the file: \"%1\""_s.arg(path));
    QVERIFY(bytes.isEmpty());
}

VANTEL_TEST_CLASS(TestFileUtil)
#include "tst_fileutil.moc"
