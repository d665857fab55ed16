#include "commandicons.h"
#include "testregistry.h"
#include "testutil.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QString ResourcePath(const QString &name)
{
    return TestUtil::FixturePath(QStringLiteral("../../src/app/resources/")) + name;
}

} // namespace

// The user installs the designer: the desktop lists it, knows .vnt files as "Vantel Reports"
// and opens them with it, and shows its icon.
class TestDesktopFiles : public QObject
{
    Q_OBJECT

private slots:
    void desktopEntry()
    {
        QFile file(ResourcePath(QStringLiteral("vantel-designer.desktop")));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        QCOMPARE(lines.constFirst(), QStringLiteral("[Desktop Entry]"));
        QHash<QString, QString> keys;
        for (const QString &line : lines) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0)
                keys.insert(line.left(equals), line.mid(equals + 1));
        }
        QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("vantel-designer %f"));
        QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("vantel-designer"));
        QVERIFY(keys.value(QStringLiteral("MimeType"))
                        .split(u';')
                        .contains(QStringLiteral("application/x-vantel-report")));
        QVERIFY(!keys.value(QStringLiteral("Name")).isEmpty());
    }

    void mimeType()
    {
        QFile file(ResourcePath(QStringLiteral("vantel-designer.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString type, comment, glob;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("mime-type"))
                type = xml.attributes().value(QLatin1String("type")).toString();
            else if (xml.name() == QLatin1String("comment"))
                comment = xml.readElementText();
            else if (xml.name() == QLatin1String("glob"))
                glob = xml.attributes().value(QLatin1String("pattern")).toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(type, QStringLiteral("application/x-vantel-report"));
        QCOMPARE(comment, QStringLiteral("Vantel Reports"));
        QCOMPARE(glob, QStringLiteral("*.vnt"));
    }

    void icon()
    {
        QFile file(ResourcePath(QStringLiteral("vantel-designer.svg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), QLatin1String("svg"));
        QCOMPARE(xml.attributes().value(QLatin1String("viewBox")), QLatin1String("0 0 64 64"));
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

        // The window icon is the same picture: white paper, the blue header band, the "V".
        const QImage image = CommandIcons::AppIcon().pixmap(64).toImage();
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
        QCOMPARE(image.pixel(12, 45) & 0xffffff, 0xffffffu);
        QCOMPARE(image.pixel(20, 12) & 0xffffff, 0x2f64b0u);
        QCOMPARE(image.pixel(35, 48) & 0xffffff, 0xd9531eu);
    }
};

VANTEL_TEST_CLASS(TestDesktopFiles)
#include "tst_desktopfiles.moc"
