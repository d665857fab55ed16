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
        QTest::newRow("login, password, alias") << u"SYSDBA:masterkey@employee"_s
                                                << QStringList{u"SYSDBA"_s, u"masterkey"_s, u"employee"_s};
        QTest::newRow("server with port")
                << u"ann:pw@db.example.com/3051:sales"_s
                << QStringList{u"ann"_s, u"pw"_s, u"db.example.com/3051:sales"_s};
        QTest::newRow("password with : and @")
                << u"ann:p:a@s@s@host:/data/x.fdb"_s
                << QStringList{u"ann"_s, u"p:a@s@s"_s, u"host:/data/x.fdb"_s};
        QTest::newRow("no password") << u"ann@x.fdb"_s << QStringList{u"ann"_s, QString(), u"x.fdb"_s};
        QTest::newRow("database alone") << u"/data/x.fdb"_s
                                        << QStringList{QString(), QString(), u"/data/x.fdb"_s};
    }
    void fireBird()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, parts);
        const CFireBirdConnect parsed = CFireBirdConnect::Parse(text);
        QCOMPARE((QStringList{parsed.login, parsed.password, parsed.database}), parts);
    }

    void odbcPassword_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<QString>("password");
        QTest::newRow("PWD") << u"DSN=sales;UID=ann;PWD=secret"_s << u"DSN=sales;UID=ann;PWD=***"_s
                             << u"secret"_s;
        QTest::newRow("braces with ; and }}")
                << u"DRIVER={X};Password={a;b}}c};Port=1"_s << u"DRIVER={X};Password=***;Port=1"_s
                << u"a;b}c"_s;
        QTest::newRow("key case and spaces") << u"dsn=a; pwd =x;"_s << u"dsn=a; pwd =***;"_s << u"x"_s;
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
};

VANTEL_TEST_CLASS(TestConnectString)
#include "tst_connectstring.moc"
