#include "outputfile.h"
#include "systemerror.h"
#include "testregistry.h"
#include "testutil.h"
#include "writetextfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Utf16Le(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `body` in a child process and gives its exit code, or 1000 plus the
// signal that ended it.
int RunInChild(const std::function<int()> &body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// Exit codes of a child that tries a write.
enum ChildResult { Written = 0, FailedAsExpected = 1, FailedOtherwise = 2, CannotSetUp = 3 };

int TryWrite(const QString &path, const QString &text, int expectedErrno)
{
    QString message;
    if (WriteTextFile(path, text, &message))
        return Written;
    const bool expected = errno == expectedErrno && message == SystemErrorText(expectedErrno);
    return expected ? FailedAsExpected : FailedOtherwise;
}

QString NewText()
{
    QString text;
    for (int i = 0; i < 6000; ++i)
        text.append(QChar(u'A' + i % 26));
    return text; // 12000 bytes on disk
}

QByteArray OldBytes()
{
    return TestUtil::Utf16File(
                   u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<report>\n</report>"_s)
            .repeated(100);
}

} // namespace

class TestWriteTextFile : public QObject
{
    Q_OBJECT

private slots:
    void replaces_data();
    void replaces();
    void keepsPermissions_data();
    void keepsPermissions();
    void writesThroughLink_data();
    void writesThroughLink();
    void failsAtEveryOffset_data();
    void failsAtEveryOffset();
    void refused_data();
    void refused();
    void leavesSpecialFilesAlone_data();
    void leavesSpecialFilesAlone();
    void commitsManyTogether();
};

void TestWriteTextFile::replaces_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("text");
    QTest::newRow("new file") << QByteArray() << u"<report/>"_s;
    QTest::newRow("longer old file, shorter text") << QByteArray(5000, 'x') << u"ab"_s;
    QTest::newRow("empty text empties the file") << QByteArray("old") << QString();
    QTest::newRow("non-ASCII and a surrogate pair") << QByteArray() << u"\u00e9\u20ac\U0001F600"_s;
    QTest::newRow("CR LF is written as given") << QByteArray() << u"a\r\nb"_s;
}

void TestWriteTextFile::replaces()
{
    QFETCH(QByteArray, old);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.vnt"_s);
    if (!old.isEmpty())
        QVERIFY(TestUtil::WriteAll(path, old));
    QString message = u"untouched"_s;
    QVERIFY(WriteTextFile(path, text, &message));
    QCOMPARE(message, u"untouched"_s);
    QCOMPARE(TestUtil::ReadAll(path), Utf16Le(text));
    QCOMPARE(Entries(dir.path()), QStringList {u"report.vnt"_s});
}

void TestWriteTextFile::keepsPermissions_data()
{
    QTest::addColumn<int>("oldMode");
    const mode_t mask = umask(022);
    umask(mask);
    QTest::newRow("new file: the umask applies") << -int(0666 & ~mask);
    QTest::newRow("owner only") << 0600;
    QTest::newRow("group may read") << 0640;
}

void TestWriteTextFile::keepsPermissions()
{
    QFETCH(int, oldMode);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"report.vnt"_s));
    if (oldMode > 0) {
        QVERIFY(TestUtil::WriteAll(QFile::decodeName(path), "old"));
        QCOMPARE(chmod(path.constData(), mode_t(oldMode)), 0);
    }
    QVERIFY(WriteTextFile(QFile::decodeName(path), u"new"_s, nullptr));
    struct stat info;
    QCOMPARE(stat(path.constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), oldMode > 0 ? oldMode : -oldMode);
}

void TestWriteTextFile::writesThroughLink_data()
{
    // Links made in a folder that holds real.vnt and sub/, each "name>target" (%1 the folder);
    // the report is saved as link.vnt. written is the file that gets the text, empty when the
    // save is refused with reason.
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("reason");
    QTest::newRow("to a file") << QStringList {u"link.vnt>real.vnt"_s} << u"real.vnt"_s
                               << QString();
    QTest::newRow("to a file not yet there")
            << QStringList {u"link.vnt>new.vnt"_s} << u"new.vnt"_s << QString();
    QTest::newRow("through a chain, by full path, into a folder")
            << QStringList {u"link.vnt>%1/a"_s, u"a>sub/../sub/new.vnt"_s} << u"sub/new.vnt"_s
            << QString();
    QTest::newRow("into a missing folder")
            << QStringList {u"link.vnt>missing/new.vnt"_s} << QString()
            << u"Cannot write \"%1/link.vnt\" (a link to \"%1/missing/new.vnt\"): No such file "
               u"or directory"_s;
    QTest::newRow("a loop of two")
            << QStringList {u"link.vnt>a"_s, u"a>link.vnt"_s} << QString()
            << u"Cannot write \"%1/link.vnt\": Too many levels of symbolic links"_s;
    QTest::newRow("to itself") << QStringList {u"link.vnt>link.vnt"_s} << QString()
                               << u"Cannot write \"%1/link.vnt\": Too many levels of symbolic "
                                  u"links"_s;
}

void TestWriteTextFile::writesThroughLink()
{
    QFETCH(QStringList, links);
    QFETCH(QString, written);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(TestUtil::WriteAll(dir.filePath(u"real.vnt"_s), "old"));
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
    for (const QString &link : std::as_const(links))
        QVERIFY(QFile::link(link.section(u'>', 1).replace(u"%1"_s, dir.path()),
                            dir.filePath(link.section(u'>', 0, 0))));
    const QString path = dir.filePath(u"link.vnt"_s);
    const QStringList before = Entries(dir.path());
    const QString linkText = QFileInfo(path).symLinkTarget();

    COutputFile file;
    const bool ok = file.Open(path) && file.Write("new") && file.Commit();
    QCOMPARE(ok, reason.isEmpty());
    if (!ok)
        QCOMPARE(file.GetMessage(), reason.arg(dir.path()));
    // The link stays as it was, whatever happened.
    QVERIFY(QFileInfo(path).isSymLink());
    QCOMPARE(QFileInfo(path).symLinkTarget(), linkText);
    if (written.isEmpty()) {
        QCOMPARE(Entries(dir.path()), before);
        QCOMPARE(Entries(dir.filePath(u"sub"_s)), QStringList());
        return;
    }
    QCOMPARE(TestUtil::ReadAll(dir.filePath(written)), QByteArray("new"));
    // The designer's save goes the same way.
    QVERIFY(WriteTextFile(path, u"x"_s, nullptr));
    QCOMPARE(TestUtil::ReadAll(dir.filePath(written)), Utf16Le(u"x"_s));
    QStringList expected = before;
    if (!written.contains(u'/') && !expected.contains(written))
        expected.append(written);
    expected.sort();
    QCOMPARE(Entries(dir.path()), expected);
}

void TestWriteTextFile::failsAtEveryOffset_data()
{
    // A file-size limit makes the write stop after `limit` bytes, as a full
    // disk would. Without SIG_IGN the write itself must keep SIGXFSZ from
    // ending the program.
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("ignoreSignal");
    const qint64 size = NewText().size() * 2;
    for (qint64 limit : {qint64(0), qint64(1), qint64(2), qint64(100), qint64(4095), qint64(4096),
                         qint64(4097), size / 2, size - 1, size}) {
        QTest::addRow("limit %lld", limit) << limit << false;
    }
    QTest::newRow("limit 0, signal ignored") << qint64(0) << true;
    QTest::newRow("limit 4097, signal ignored") << qint64(4097) << true;
}

void TestWriteTextFile::failsAtEveryOffset()
{
    QFETCH(qint64, limit);
    QFETCH(bool, ignoreSignal);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.vnt"_s);
    QVERIFY(TestUtil::WriteAll(path, OldBytes()));
    const QString text = NewText();

    const int result = RunInChild([&] {
        if (ignoreSignal)
            signal(SIGXFSZ, SIG_IGN);
        rlimit fileSize;
        getrlimit(RLIMIT_FSIZE, &fileSize);
        fileSize.rlim_cur = rlim_t(limit);
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            return int(CannotSetUp);
        return TryWrite(path, text, EFBIG);
    });

    const bool fits = limit >= text.size() * 2;
    QCOMPARE(result, int(fits ? Written : FailedAsExpected));
    QCOMPARE(TestUtil::ReadAll(path), fits ? Utf16Le(text) : OldBytes());
    QCOMPARE(Entries(dir.path()), QStringList {u"report.vnt"_s});
}

void TestWriteTextFile::refused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("expectedErrno");
    QTest::newRow("target is a folder") << u"folder"_s << EISDIR;
    QTest::newRow("folder does not exist") << u"no folder"_s << ENOENT;
    QTest::newRow("read-only folder") << u"read-only"_s << EACCES;
}

void TestWriteTextFile::refused()
{
    QFETCH(QString, setup);
    QFETCH(int, expectedErrno);
    QTemporaryDir dir;
    // Others may pass through, so that an unprivileged child reaches the folder.
    QVERIFY(QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                          | QFile::ReadOther | QFile::ExeOther));
    const QString folder = dir.filePath(u"reports"_s);
    QVERIFY(QDir().mkdir(folder));
    QString path = folder + u"/report.vnt"_s;
    QByteArray old = OldBytes();
    if (setup == u"folder") {
        QVERIFY(QDir().mkdir(path));
        old.clear();
    } else if (setup == u"no folder") {
        path = dir.filePath(u"missing/report.vnt"_s);
        old.clear();
    } else {
        QVERIFY(TestUtil::WriteAll(path, old));
        QVERIFY(QFile::setPermissions(path,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(
                folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    }
    const QStringList entriesBefore = Entries(folder);

    // The superuser ignores permissions: the write is then tried by a child
    // that has become the unprivileged user "nobody".
    const bool dropPrivileges = setup == u"read-only" && geteuid() == 0;
    const int result = RunInChild([&] {
        if (dropPrivileges && (setgid(65534) != 0 || setuid(65534) != 0))
            return int(CannotSetUp);
        return TryWrite(path, u"new"_s, expectedErrno);
    });
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (result == CannotSetUp)
        QSKIP("Running as root and cannot become the user nobody, so permissions cannot be tested");

    QCOMPARE(result, int(FailedAsExpected));
    QCOMPARE(Entries(folder), entriesBefore);
    if (setup == u"folder")
        QVERIFY(QFileInfo(path).isDir());
    else if (!old.isEmpty())
        QCOMPARE(TestUtil::ReadAll(path), old);
}

void TestWriteTextFile::leavesSpecialFilesAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("throughLink");
    for (const char *kind : {"fifo", "socket", "device"}) {
        QTest::addRow("%s", kind) << QString::fromLatin1(kind) << false;
        QTest::addRow("link to a %s", kind) << QString::fromLatin1(kind) << true;
    }
}

void TestWriteTextFile::leavesSpecialFilesAlone()
{
    QFETCH(QString, kind);
    QFETCH(bool, throughLink);
    QTemporaryDir dir;
    const QString special = dir.filePath(u"special"_s);
    const QByteArray name = QFile::encodeName(special);
    if (kind == u"fifo") {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == u"socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::copy(name.cbegin(), name.cend(), address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    } else if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        // A node of our own, so that a failure could never replace the system's.
        QSKIP("Cannot create a device node here (needs root)");
    }
    struct stat before;
    QCOMPARE(::lstat(name.constData(), &before), 0);
    QString path = special;
    if (throughLink) {
        path = dir.filePath(u"link.vnt"_s);
        QVERIFY(QFile::link(special, path));
    }

    QString message;
    QVERIFY(!WriteTextFile(path, u"new"_s, &message));
    QCOMPARE(message, u"The path names a device, a pipe or a socket, not a file"_s);
    struct stat after;
    QCOMPARE(::lstat(name.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(QFileInfo(path).isSymLink(), throughLink);
    QCOMPARE(Entries(dir.path()).size(), throughLink ? 2 : 1);
}

// Files committed together, as a batch writes a file per row: each goes in place over its old
// content, in folders of their own, and one that cannot be committed fails alone.
void TestWriteTextFile::commitsManyTogether()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"a"_s) && QDir(dir.path()).mkdir(u"b"_s));
    QVERIFY(TestUtil::WriteAll(dir.filePath(u"b/2.pdf"_s), "old"));
    const QStringList names {u"a/1.pdf"_s, u"b/2.pdf"_s, u"b/3.pdf"_s};
    COutputFile files[3];
    for (int i = 0; i < 3; ++i)
        QVERIFY(files[i].Open(dir.filePath(names[i])) && files[i].Write(names[i].toUtf8()));
    files[2].Cancel();
    const std::vector<bool> done = COutputFile::CommitAll({&files[0], &files[1], &files[2]});
    QCOMPARE(done, (std::vector<bool> {true, true, false}));
    QCOMPARE(TestUtil::ReadAll(dir.filePath(u"a/1.pdf"_s)), "a/1.pdf"_ba);
    QCOMPARE(TestUtil::ReadAll(dir.filePath(u"b/2.pdf"_s)), "b/2.pdf"_ba);
    QCOMPARE(Entries(dir.filePath(u"b"_s)), QStringList {u"2.pdf"_s});
    QVERIFY(files[2].GetErrorCode() != 0);
}

VANTEL_TEST_CLASS(TestWriteTextFile)
#include "tst_writetextfile.moc"
