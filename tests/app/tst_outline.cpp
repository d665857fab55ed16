#include "mainframe.h"
#include "outlinectrl.h"
#include "outlinewnd.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"

#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The outline as text: a band per line, its items after it indented by two spaces.
QStringList Lines(const QTreeWidget *tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *band = tree->topLevelItem(i);
        lines << band->text(0);
        for (int j = 0; j < band->childCount(); ++j)
            lines << u"  "_s + band->child(j)->text(0);
    }
    return lines;
}

} // namespace

// The user finds their way in a report through the Outline pane: it lists what they insert,
// rename and delete, and every report they open; a row selects the object in the view, scrolls
// to it and shows its properties, even an item that cannot be seen on the page. The zoom and
// the band captions they choose are there again at the next start.
class TestOutline : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        m_doc = std::make_unique<CQuarnDoc>();
        m_doc->SetGridOn(false);
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->DoFileNew();
        m_frame->resize(1600, 900);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_view = m_frame->GetView();
        m_tree = m_frame->GetOutlineWnd()->GetCtrl();
    }
    void cleanup()
    {
        m_doc->SetModifiedFlag(false);
        m_frame.reset();
        m_doc.reset();
        QSettings().clear();
    }

    void followsTheModel()
    {
        // Insertions through the view.
        InsertAt(VornKind::ReportContents, QPoint(100, 100));
        InsertAt(VornKind::Text, QPoint(30, 10));
        InsertAt(VornKind::Shape, QPoint(200, 10));
        QCOMPARE(Lines(m_tree),
                 QStringList({u"Report Contents 1"_s, u"  Text 1"_s, u"  Shape 1"_s}));
        QCOMPARE(m_tree->currentItem()->text(0), u"Shape 1"_s);

        // A rename in the Properties pane; an item pulled out of sight gets its mark.
        CVornBand *band = m_doc->GetReport().GetBands()[0];
        CVornItem *text = band->GetItems()[0];
        m_view->SelectElement(text);
        QCOMPARE(m_tree->currentItem()->text(0), u"Text 1"_s);
        CPropertyGridProperty *name
                = m_frame->GetPropertiesWnd()->GetPropertyGrid()->FindRow(RowId::Name);
        QVERIFY(name);
        name->SetValue(u"Heading"_s);
        m_frame->GetPropertiesWnd()->OnPropertyChanged(name);
        text->SetLeft(text->GetRight());
        m_doc->NotifyChanged();
        QCOMPARE(Lines(m_tree),
                 QStringList(
                         {u"Report Contents 1"_s, u"  Heading (not visible)"_s, u"  Shape 1"_s}));

        // A row selects its object in the view and shows it in the Properties pane.
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
        QVERIFY(band->IsSelected());
        QCOMPARE(m_frame->GetPropertiesWnd()->GetCurrentObject(), band);
        m_tree->setCurrentItem(m_tree->topLevelItem(0)->child(0));
        QVERIFY(text->IsSelected());
        QCOMPARE(m_frame->GetPropertiesWnd()->GetCurrentObject(), text);

        // Delete in the outline deletes as in the view: the next item is selected.
        m_tree->setFocus();
        QTest::keyClick(m_tree, Qt::Key_Delete);
        QCOMPARE(Lines(m_tree), QStringList({u"Report Contents 1"_s, u"  Shape 1"_s}));
        QCOMPARE(m_tree->currentItem()->text(0), u"Shape 1"_s);
        // Insert Page Break from the view's menu goes after the selected item's band.
        m_view->InsertPageBreak();
        QCOMPARE(Lines(m_tree),
                 QStringList({u"Report Contents 1"_s, u"  Shape 1"_s, u"Page Break 1"_s}));
        QCOMPARE(m_tree->currentItem()->text(0), u"Page Break 1"_s);

        // A file open shows the new report, in report order.
        m_doc->SetModifiedFlag(false);
        QVERIFY(m_frame->OpenDocumentFile(TestUtil::FixturePath(u"full_report.vnt"_s)));
        QStringList bands;
        for (const CVornBand *b : m_doc->GetReport().GetBands())
            bands << b->GetName();
        QStringList tops;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
            tops << m_tree->topLevelItem(i)->text(0);
        QCOMPARE(tops, bands);
        QCOMPARE(m_tree->topLevelItem(1)->childCount(),
                 m_doc->GetReport().GetBands()[1]->GetItems().GetCount());
        QCOMPARE(m_tree->currentItem(), nullptr);
    }

    void aRowScrollsItsObjectIntoSight()
    {
        // Two bands of 40 cm each: the second lies far below the first screen.
        for (const auto &name : {u"Top"_s, u"Bottom"_s}) {
            auto *band = new CVornBand(VornKind::ReportContents, name);
            band->SetHeight(40000);
            m_doc->GetReport().GetBands().Add(band);
        }
        auto *hidden = new CVornText;
        hidden->SetName(u"Far"_s);
        hidden->SetRect(5000, 30000, 4000, 31000);
        m_doc->GetReport().GetBands()[1]->GetItems().Add(hidden);
        m_doc->NotifyChanged();
        QCOMPARE(m_tree->topLevelItem(1)->child(0)->text(0), u"Far (not visible)"_s);

        m_tree->setCurrentItem(m_tree->topLevelItem(1)->child(0));
        QVERIFY(hidden->IsSelected());
        const PixRect rect = m_view->GetItemPixelRect(hidden);
        const QPoint scroll = m_view->GetScrollPosition();
        QVERIFY(scroll.y() > 0);
        QVERIFY(rect.top >= scroll.y());
        QVERIFY(rect.bottom <= scroll.y() + m_view->viewport()->height());
    }

    void zoomAndCaptionsKept()
    {
        // A new user sees the page at full size.
        QCOMPARE(m_view->GetZoomChoice(), 1.0);
        QCOMPARE(m_frame->GetZoomPane()->text(), u"100 %"_s);
        m_frame->FindCommand(32800)->trigger();
        QCOMPARE(m_view->GetZoom(), 1.25);
        QCOMPARE(m_frame->GetZoomPane()->text(), u"125 %"_s);
        // Ctrl with the wheel, one notch out.
        QWheelEvent wheel(QPointF(200, 200), m_view->viewport()->mapToGlobal(QPointF(200, 200)),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_view->viewport(), &wheel);
        QCOMPARE(m_view->GetZoom(), 1.0);
        m_frame->FindCommand(32801)->trigger();
        m_frame->FindCommand(32804)->trigger();
        QVERIFY(m_view->GetBandCaptions());
        QVERIFY(m_frame->close());
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        QCOMPARE(m_frame->GetView()->GetZoomChoice(), 0.75);
        QVERIFY(m_frame->GetView()->GetBandCaptions());
        QVERIFY(m_frame->FindCommand(32804)->isChecked());
    }

    void positionWhileNudging()
    {
        InsertAt(VornKind::ReportContents, QPoint(100, 100));
        InsertAt(VornKind::Text, QPoint(0, 0));
        QCOMPARE(m_frame->GetPositionPane()->text(), QString());
        m_view->setFocus();
        QTest::keyClick(m_view, Qt::Key_Right, Qt::ControlModifier);
        // One grid step of 10 pixels is 264 units.
        QCOMPARE(m_frame->GetPositionPane()->text(),
                 u"Left 2.64 mm, Top 0.00 mm, Width 39.68 mm, Height 5.29 mm"_s);
        // Choosing another object clears it.
        m_view->SelectElement(m_doc->GetReport().GetBands()[0]);
        QCOMPARE(m_frame->GetPositionPane()->text(), QString());
    }

private:
    void InsertAt(int kind, QPoint pageRelative)
    {
        m_view->SetInsertKind(kind);
        const PixRect page = m_view->GetPageRect();
        const QPoint client
                = QPoint(page.left, page.top) + pageRelative - m_view->GetScrollPosition();
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, client);
    }

    std::unique_ptr<CQuarnDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CQuarnView *m_view = nullptr;
    QTreeWidget *m_tree = nullptr;
};

VANTEL_TEST_CLASS(TestOutline)
#include "tst_outline.moc"
