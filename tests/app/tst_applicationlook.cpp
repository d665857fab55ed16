#include "applicationlook.h"
#include "commandtable.h"
#include "designerstyle.h"
#include "mainframe.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "syntaxhighlighter.h"
#include "syntaxparser.h"
#include "syntaxricheditctrl.h"
#include "testregistry.h"

#include <QActionGroup>
#include <QApplication>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QToolBar>

namespace {

// WCAG contrast ratio of two colours, 1 to 21.
double Contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
                + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString StyleName()
{
    return ApplicationStyleName().toLower();
}

} // namespace

// The user picks an application look from View > Application Look: the whole window changes
// at once, the menu marks the choice, and the next start uses it again. In the black style
// every part of the window is dark, the Properties grid and the SQL editor too, while the
// report page keeps its white paper.
class TestApplicationLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_style = ApplicationStyleName();
        m_palette = QApplication::palette();
    }
    void cleanupTestCase()
    {
        QApplication::setStyle(m_style);
        QApplication::setPalette(m_palette);
        QSettings().clear();
    }
    void init() { QSettings().clear(); }

    void palettesAreReadable_data()
    {
        QTest::addColumn<int>("tone");
        using ApplicationLook::Tone;
        QTest::newRow("light") << int(Tone::Light);
        QTest::newRow("blue") << int(Tone::Blue);
        QTest::newRow("black") << int(Tone::Black);
        QTest::newRow("silver") << int(Tone::Silver);
        QTest::newRow("aqua") << int(Tone::Aqua);
    }
    void palettesAreReadable()
    {
        QFETCH(int, tone);
        const QPalette p = ApplicationLook::MakePalette(ApplicationLook::Tone(tone));
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            QVERIFY(Contrast(p.color(group, QPalette::Text), p.color(group, QPalette::Base)) >= 7);
            QVERIFY(Contrast(p.color(group, QPalette::Text),
                             p.color(group, QPalette::AlternateBase))
                    >= 7);
            QVERIFY(Contrast(p.color(group, QPalette::WindowText), p.color(group, QPalette::Window))
                    >= 4.5);
            QVERIFY(Contrast(p.color(group, QPalette::ButtonText), p.color(group, QPalette::Button))
                    >= 4.5);
            QVERIFY(Contrast(p.color(group, QPalette::HighlightedText),
                             p.color(group, QPalette::Highlight))
                    >= 4.5);
            QVERIFY(Contrast(p.color(group, QPalette::ToolTipText),
                             p.color(group, QPalette::ToolTipBase))
                    >= 4.5);
            QVERIFY(Contrast(p.color(group, QPalette::Link), p.color(group, QPalette::Base))
                    >= 4.5);
        }
        // Disabled texts are told apart from enabled ones and can still be read.
        const QColor disabled = p.color(QPalette::Disabled, QPalette::Text);
        QVERIFY(disabled != p.color(QPalette::Active, QPalette::Text));
        QVERIFY(Contrast(disabled, p.color(QPalette::Disabled, QPalette::Base)) >= 2.5);
        QVERIFY(Contrast(p.color(QPalette::Disabled, QPalette::ButtonText),
                         p.color(QPalette::Disabled, QPalette::Button))
                >= 2.5);
    }

    void firstStartUsesTheDefault()
    {
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QCOMPARE(ApplicationLook::Current(), 210);
        QCOMPARE(StyleName(), QStringLiteral("fusion"));
        QCOMPARE(
                QApplication::palette().color(QPalette::Window),
                ApplicationLook::MakePalette(ApplicationLook::Tone::Light).color(QPalette::Window));
        QVERIFY(frame.FindCommand(210)->isChecked());
    }

    void choiceAppliedMarkedAndKept_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("Windows 2000") << 205;
        QTest::newRow("black") << 216;
        QTest::newRow("aqua") << 218;
    }
    void choiceAppliedMarkedAndKept()
    {
        QFETCH(int, id);
        const ApplicationLook::Look look = ApplicationLook::LookFor(id);
        const QColor window = ApplicationLook::MakePalette(look.tone).color(QPalette::Window);
        {
            CQuarnDoc doc;
            CMainFrame frame(&doc);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.FindCommand(id)->trigger();
            QCOMPARE(ApplicationLook::Current(), id);
            QCOMPARE(StyleName(), look.styleName.toLower());
            // At once, on the window and its children.
            QCOMPARE(frame.palette().color(QPalette::Window), window);
            QCOMPARE(frame.GetStandardToolBar()->palette().color(QPalette::Window), window);
            QCOMPARE(QSettings().value(ApplicationLook::SettingKey()).toInt(), id);
            int marked = 0;
            for (int look = 205; look <= 219; ++look) {
                if (QAction *action = frame.FindCommand(look)) {
                    QCOMPARE(action->isChecked(), look == id);
                    marked += action->isChecked() ? 1 : 0;
                }
            }
            QCOMPARE(marked, 1);
        }
        // Back to the default, then the next start reads the stored choice.
        ApplicationLook::Apply(210);
        QSettings().setValue(ApplicationLook::SettingKey(), id);
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QCOMPARE(ApplicationLook::Current(), id);
        QCOMPARE(QApplication::palette().color(QPalette::Window), window);
        QVERIFY(frame.FindCommand(id)->isChecked());
    }

    void storedValueOutsideTheTable_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("current");

        QTest::newRow("211") << QVariant(211) << 211;
        QTest::newRow("0") << QVariant(0) << 0;
        QTest::newRow("219 has no menu entry") << QVariant(219) << 219;
        QTest::newRow("not a number") << QVariant(QStringLiteral("blue")) << 210;
    }
    void storedValueOutsideTheTable()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, current);

        QSettings().setValue(ApplicationLook::SettingKey(), stored);
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        QCOMPARE(ApplicationLook::Current(), current);
        const ApplicationLook::Look look = ApplicationLook::LookFor(current);
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 ApplicationLook::MakePalette(look.tone).color(QPalette::Window));
        if (!ApplicationLook::IsKnownLook(current)) {
            // The Office 2007 look in its current style, blue.
            QCOMPARE(look.tone, ApplicationLook::Tone::Blue);
            QCOMPARE(StyleName(), QStringLiteral("fusion"));
        }
        // A look without a menu entry marks none.
        if (current != 210) {
            for (int id = 205; id <= 219; ++id) {
                if (QAction *action = frame.FindCommand(id))
                    QVERIFY(!action->isChecked());
            }
        }
    }

    void blackStyleEverywhereButThePage()
    {
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        frame.resize(1400, 700);
        frame.DoFileNew();
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Orders"));
        band->SetHeight(2540);
        doc.GetReport().GetBands().Add(band);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.ChooseLook(216);
        const QPalette dark = ApplicationLook::MakePalette(ApplicationLook::Tone::Black);

        // The Properties grid draws on the dark base with light text.
        CPropertiesCtrl *grid = frame.GetPropertiesWnd()->GetPropertyGrid();
        QCOMPARE(grid->palette().color(QPalette::Base), dark.color(QPalette::Base));
        const QImage gridImage = grid->viewport()->grab().toImage();
        const QColor gridCorner
                = gridImage.pixelColor(gridImage.width() - 3, gridImage.height() - 3);
        QVERIFY2(gridCorner.lightness() < 80, qPrintable(gridCorner.name()));

        // The SQL editor, made after the choice, colours normal text from the palette.
        CSyntaxRichEditCtrl editor;
        QCOMPARE(editor.palette().color(QPalette::Base), dark.color(QPalette::Base));
        QCOMPARE(CSyntaxHighlighter::TextColour(CSyntaxParser::ColourNormalText, editor.palette()),
                 dark.color(QPalette::Text));

        // The page stays white paper on the view.
        CQuarnView *view = frame.GetView();
        const QImage page = view->viewport()->grab().toImage();
        const QPoint inside
                = view->GetItemPixelRect(band).ToQRect().center() - view->GetScrollPosition();
        QCOMPARE(page.pixelColor(inside), QColor(Qt::white));

        // Toolbar images are made again with light lines.
        const QImage cut = frame.FindCommand(CommandTable::EditCut)->icon().pixmap(16).toImage();
        int lightPixels = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = cut.pixelColor(x, y);
                lightPixels += c.alpha() > 128 && c.lightness() > 150 ? 1 : 0;
            }
        }
        QVERIFY(lightPixels > 3);
    }

private:
    QString m_style;
    QPalette m_palette;
};

VANTEL_TEST_CLASS(TestApplicationLook)
#include "tst_applicationlook.moc"
