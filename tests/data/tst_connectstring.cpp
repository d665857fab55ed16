#include "connectstring.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestConnectString : public QObject
{
    Q_OBJECT

private slots:
    void fireBird_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("login, password, alias")
                << u"SYSDBA:masterkey@employee"_s
                << QStringList {u"SYSDBA"_s, u"masterkey"_s, u"employee"_s};
        QTest::newRow("server with port")
                << u"ann:pw@db.example.com/3051:sales"_s
                << QStringList {u"ann"_s, u"pw"_s, u"db.example.com/3051:sales"_s};
        QTest::newRow("password with : and @")
                << u"ann:p:a@s@s@host:/data/x.fdb"_s
                << QStringList {u"ann"_s, u"p:a@s@s"_s, u"host:/data/x.fdb"_s};
        QTest::newRow("no password")
                << u"ann@x.fdb"_s << QStringList {u"ann"_s, QString(), u"x.fdb"_s};
        QTest::newRow("no @ is malformed")
                << u"SYSDBA:secret"_s << QStringList {QString(), QString(), QString()};
    }
    void fireBird()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, parts);
        const CFireBirdConnect parsed = CFireBirdConnect::Parse(text);
        QCOMPARE((QStringList {parsed.login, parsed.password, parsed.database}), parts);
    }

    void odbcPassword_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<QString>("password");
        QTest::newRow("PWD") << u"DSN=sales;UID=ann;PWD=secret"_s << u"DSN=sales;UID=ann;PWD=***"_s
                             << u"secret"_s;
        QTest::newRow("braces with ; and }}") << u"DRIVER={X};Password={a;b}}c};Port=1"_s
                                              << u"DRIVER={X};Password=***;Port=1"_s << u"a;b}c"_s;
        QTest::newRow("key case and spaces")
                << u"dsn=a; pwd =x;"_s << u"dsn=a; pwd =***;"_s << u"x"_s;
        QTest::newRow("none") << u"DSN=sales"_s << u"DSN=sales"_s << QString();
    }
    void odbcPassword()
    {
        QFETCH(QString, text);
        QFETCH(QString, hidden);
        QFETCH(QString, password);
        QCOMPARE(HideOdbcPassword(text), hidden);
        QCOMPARE(OdbcPassword(text), password);
    }

    void odbcRefusedSetting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused");
        QTest::newRow("a plain string")
                << u"DRIVER={PostgreSQL Unicode};SERVER=h;PWD={a;b}"_s << QString();
        QTest::newRow("a driver library's path") << u"DRIVER=/tmp/x.so;Database=a"_s << u"DRIVER"_s;
        QTest::newRow("a path in braces") << u"Driver={/tmp/x.so}"_s << u"Driver"_s;
        QTest::newRow("SQL at connection")
                << u"DSN=pg;connsettings={DELETE FROM t}"_s << u"connsettings"_s;
        QTest::newRow("the same, abbreviated") << u"DSN=pg;A6=x"_s << u"A6"_s;
        QTest::newRow("a log folder") << u"DSN=pg;Logdir=/home/x"_s << u"Logdir"_s;
        QTest::newRow("an extension") << u"DRIVER={SQLite3};LoadExt=/tmp/e.so"_s << u"LoadExt"_s;
        QTest::newRow("a file written") << u"DSN=a;SAVEFILE=/tmp/f.dsn"_s << u"SAVEFILE"_s;
        QTest::newRow("a value that only looks like one")
                << u"DSN=a;PWD={;LoadExt=x}"_s << QString();
    }
    void odbcRefusedSetting()
    {
        QFETCH(QString, text);
        QFETCH(QString, refused);
        QCOMPARE(RefusedOdbcSetting(text), refused);
    }
};

VANTEL_TEST_CLASS(TestConnectString)
#include "tst_connectstring.moc"
