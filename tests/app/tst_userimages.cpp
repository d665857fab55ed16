#include "commandtable.h"
#include "customizedlg.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "quarndoc.h"
#include "testregistry.h"
#include "testutil.h"
#include "userimages.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A 24-bit bitmap strip: image i is filled with colour i, with one light grey pixel in its
// top left corner.
QByteArray Strip(int width, int height, const QList<QRgb> &colours)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::black);
    for (int i = 0; i < colours.size(); ++i) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < 16 && i * 16 + x < width; ++x)
                image.setPixel(i * 16 + x, y, colours.at(i));
        }
        image.setPixel(i * 16, 0, qRgb(192, 192, 192));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Runs code with another current folder, as the designer started from there would.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &path)
        : m_old(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

} // namespace

// The user keeps their own button images in UserImages.bmp beside where they start the
// designer, and gives toolbar buttons those images in the Customize dialog.
class TestUserImages : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void cleanup() { QSettings().clear(); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<uint>("colour");

        QTest::newRow("strip of three")
                << Strip(48, 16, {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}) << 3
                << 0xff0000u;
        QTest::newRow("a partial image at the end is left out")
                << Strip(40, 16, {qRgb(0, 255, 0), qRgb(0, 0, 255)}) << 2 << 0x00ff00u;
        QTest::newRow("a taller strip gives its top row")
                << Strip(16, 32, {qRgb(1, 2, 3)}) << 1 << 0x010203u;
        QTest::newRow("smaller than one image") << Strip(8, 8, {qRgb(1, 2, 3)}) << 0 << 0u;
        QTest::newRow("larger than 819200 bytes") << Strip(1024, 280, {qRgb(1, 2, 3)}) << 0 << 0u;
        QTest::newRow("not a bitmap") << QByteArray("BM but not really") << 0 << 0u;
        QTest::newRow("empty file") << QByteArray() << 0 << 0u;
    }
    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(uint, colour);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("UserImages.bmp"));
        QVERIFY(TestUtil::WriteAll(path, bytes));
        const QList<QPixmap> images = UserImages::Load(path);
        QCOMPARE(images.size(), count);
        for (const QPixmap &image : images)
            QCOMPARE(image.size(), QSize(16, 16));
        if (count > 0) {
            // Light grey is transparent; the rest keeps its colour.
            const QImage first = images.constFirst().toImage();
            QCOMPARE(qAlpha(first.pixel(0, 0)), 0);
            QCOMPARE(first.pixel(5, 5) & 0xffffff, colour);
            QCOMPARE(qAlpha(first.pixel(5, 5)), 255);
        }
        QVERIFY(UserImages::Load(dir.filePath(QStringLiteral("missing.bmp"))).isEmpty());
    }

    void buttonsTakeUserImages()
    {
        QTemporaryDir dir;
        QVERIFY(TestUtil::WriteAll(dir.filePath(QStringLiteral("UserImages.bmp")),
                                   Strip(32, 16, {qRgb(255, 0, 0), qRgb(0, 0, 255)})));
        const CurrentFolder folder(dir.path());
        {
            CQuarnDoc doc;
            CMainFrame frame(&doc);
            QCOMPARE(frame.GetUserImages().size(), 2);
            // The dialog offers the images; the user gives "Open" the second one.
            CModalAnswer answer(QMessageBox::Ok, [](QDialog *dialog) {
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("customizeButtons"));
                auto *image = dialog->findChild<QComboBox *>(QStringLiteral("customizeImage"));
                if (image->isEnabled() && image->count() == 3) {
                    list->setCurrentRow(1);
                    image->setCurrentIndex(2);
                    emit image->activated(2);
                }
                dialog->accept();
            });
            frame.Customize();
            QCOMPARE(answer.dialogs, 1);
            const QImage open
                    = frame.FindCommand(CommandTable::FileOpen)->icon().pixmap(16).toImage();
            QCOMPARE(open.pixel(8, 8) & 0xffffff, 0x0000ffu);
        }
        // Kept for the next start.
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QCOMPARE(frame.GetToolbarButtons().at(1).userImage, 1);
        const QImage open = frame.FindCommand(CommandTable::FileOpen)->icon().pixmap(16).toImage();
        QCOMPARE(open.pixel(8, 8) & 0xffffff, 0x0000ffu);
    }

    void withoutTheFile()
    {
        QTemporaryDir dir;
        const CurrentFolder folder(dir.path());
        // A choice stored while the file was there is dropped when it is gone.
        QSettings().setValue(QStringLiteral("Workspace/ButtonImages"), QStringList({u"57601:1"_s}));
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QVERIFY(frame.GetUserImages().isEmpty());
        QCOMPARE(frame.GetToolbarButtons().at(1).userImage, -1);
        CCustomizeDlg dialog(frame.GetToolbarButtons(), frame.GetUserImages());
        QVERIFY(!dialog.GetImageChoice()->isEnabled());
    }
};

VANTEL_TEST_CLASS(TestUserImages)
#include "tst_userimages.moc"
