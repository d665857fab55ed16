#include "aboutdlg.h"
#include "hyperlinkstatic.h"
#include "testregistry.h"
#include "versiontext.h"

#include <QDesktopServices>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl &url) { opened.append(url); }
};

// The user opens Help > About, reads the version and clicks the web address.
class TestAboutDlg : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_catcher, "Open"); }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        m_catcher.opened.clear();
    }

    void texts()
    {
        CAboutDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Vantel"));
        QCOMPARE(dialog.GetNameLabel()->text(), QStringLiteral("Vantel"));
        QCOMPARE(dialog.GetVersionLabel()->text(), QStringLiteral("Version ") + VersionText());
        QVERIFY(dialog.GetVersionLabel()->font().bold());
        QVERIFY(dialog.GetNameLabel()->font().bold());
        QVERIFY(CAboutDlg::WebAddress().contains(QStringLiteral("example.org")));
    }

    void clickOnTheTextOpensTheLink()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CHyperlinkStatic *link = dialog.GetLink();
        link->repaint();
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(m_catcher.opened, QList<QUrl> {QUrl(CAboutDlg::WebAddress())});
    }

    void clickBesideTheTextDoesNothing()
    {
        CAboutDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CHyperlinkStatic *link = dialog.GetLink();
        link->repaint();
        QVERIFY(link->IsMeasured() || link->GetTextSize().isEmpty());
        const QPoint beside(link->width() - 1, 2);
        QTest::mouseClick(link, Qt::LeftButton, {}, beside);
        QVERIFY(link->GetTextSize().width() < link->width());
        QVERIFY(m_catcher.opened.isEmpty());
    }

    void clickBeforeTheFirstPaintDoesNothing()
    {
        QWidget parent;
        auto *link = new CHyperlinkStatic(&parent);
        link->SetText(QStringLiteral("https://www.example.org/"));
        link->SetLink(QStringLiteral("https://www.example.org/"));
        link->resize(300, 20);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!link->IsMeasured());
        QVERIFY(m_catcher.opened.isEmpty());
    }

    void emptyLinkTellsTheParent()
    {
        QWidget parent;
        auto *link = new CHyperlinkStatic(&parent);
        link->SetText(QStringLiteral("Details"));
        link->resize(300, 20);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        link->repaint();
        QSignalSpy clicked(link, &CHyperlinkStatic::clicked);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(m_catcher.opened.isEmpty());
    }

    void handCursorOverTheTextOnly()
    {
        QWidget parent;
        auto *link = new CHyperlinkStatic(&parent);
        link->SetText(QStringLiteral("Details"));
        link->resize(300, 20);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        link->repaint();
        // The first move only starts hovering.
        QTest::mouseMove(link, QPoint(2, 2));
        QTest::mouseMove(link, QPoint(3, 3));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(link, QPoint(290, 3));
        QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
    }

private:
    UrlCatcher m_catcher;
};

VANTEL_TEST_CLASS(TestAboutDlg)
#include "tst_aboutdlg.moc"
