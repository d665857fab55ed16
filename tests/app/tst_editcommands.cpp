#include "mainframe.h"
#include "modalanswer.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "reportclipboard.h"
#include "reportfile.h"
#include "testregistry.h"
#include "vornitems.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;

namespace {

constexpr int Undo = 57643;
constexpr int Redo = 57644;
constexpr int Cut = 57635;
constexpr int Copy = 57634;
constexpr int Paste = 57637;
constexpr int Duplicate = 32810;

} // namespace

// The user edits with the keyboard in the main window: moves an item and takes it back with
// Ctrl+Z and again with Ctrl+Y, copies an item into another band and pastes it twice, cuts it,
// duplicates a band, and finds every command enabled exactly when it can do something.
// Clipboard content that is not a whole fragment changes nothing and says so.
class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        QGuiApplication::clipboard()->clear();
        m_doc = std::make_unique<CQuarnDoc>();
        m_doc->SetGridOn(false);
        m_frame = std::make_unique<CMainFrame>(m_doc.get());
        m_frame->DoFileNew();
        for (const QString &name : {u"Orders"_s, u"Totals"_s}) {
            auto *band = new CVornBand(VornKind::ReportContents, name);
            band->SetHeight(5080);
            m_doc->GetReport().GetBands().Add(band);
        }
        m_text = new CVornText;
        m_text->SetName(u"Greeting"_s);
        m_text->SetRect(2540, 1270, 7620, 2540);
        Band(0)->GetItems().Add(m_text);
        m_frame->resize(1400, 980);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_view = m_frame->GetView();
        m_view->setFocus();
    }
    void cleanup()
    {
        m_doc->SetModifiedFlag(false);
        m_frame.reset();
        m_doc.reset();
        QSettings().clear();
    }

    void undoAndRedoAKeyMove()
    {
        QVERIFY(!Enabled(Undo) && !Enabled(Redo));
        Click(m_text);
        QVERIFY(!Enabled(Undo));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(m_view, Qt::Key_Right);
        const int moved = m_text->GetLeft();
        QVERIFY(moved > 2540);
        // Three presses of one key are one step.
        QCOMPARE(m_doc->GetUndoStack()->count(), 1);
        QVERIFY(Enabled(Undo) && !Enabled(Redo));
        QCOMPARE(Command(Undo)->text(), u"&Undo Move\tCtrl+Z"_s);
        QCOMPARE(Command(Undo)->statusTip(), u"Undo Move"_s);
        QVERIFY(m_doc->IsModified());

        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_text->GetLeft(), 2540);
        QVERIFY(m_text->IsSelected());
        QCOMPARE(m_frame->GetPropertiesWnd()->GetCurrentObject(), m_text);
        QVERIFY(!m_doc->IsModified());
        QVERIFY(!Enabled(Undo) && Enabled(Redo));
        QCOMPARE(Command(Redo)->text(), u"&Redo Move\tCtrl+Y"_s);
        QCOMPARE(Command(Undo)->text(), u"&Undo\tCtrl+Z"_s);

        QTest::keyClick(m_view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(m_text->GetLeft(), moved);
        QVERIFY(m_doc->IsModified());
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_text->GetLeft(), moved);
    }

    void copyPasteCutAndDuplicate()
    {
        QVERIFY(!Enabled(Copy) && !Enabled(Cut) && !Enabled(Paste) && !Enabled(Duplicate));
        Click(m_text);
        QVERIFY(Enabled(Copy) && Enabled(Cut) && Enabled(Duplicate) && !Enabled(Paste));
        QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(ReportClipboard::MimeType()));
        QVERIFY(data->text().contains(u"Greeting"_s));
        QVERIFY(Enabled(Paste));

        // Into the other band, ten pixels right of and below where it was.
        Click(Band(1));
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Band(1)->GetItems().GetCount(), 1);
        CVornItem *pasted = Band(1)->GetItems()[0];
        QCOMPARE(pasted->GetName(), u"Greeting"_s);
        double zoom = 1.0;
        const CPageGeometry geometry = m_view->MakeGeometry();
        geometry.GetPageRect(&zoom);
        QCOMPARE(pasted->GetLeft(), 2540 + geometry.PixelsToModelX(10, zoom));
        QCOMPARE(pasted->GetTop(), 1270 + geometry.PixelsToModelY(10, zoom));
        QVERIFY(pasted->IsSelected());
        QCOMPARE(m_frame->GetPropertiesWnd()->GetCurrentObject(), pasted);
        QCOMPARE(Command(Undo)->text(), u"&Undo Paste\tCtrl+Z"_s);

        // Again into the same band: the name is taken there.
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Band(1)->GetItems().GetCount(), 2);
        QCOMPARE(Band(1)->GetItems()[1]->GetName(), u"Text 1"_s);

        // Cut is one step that an undo takes back.
        const int steps = m_doc->GetUndoStack()->count();
        QTest::keyClick(m_view, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Band(1)->GetItems().GetCount(), 1);
        QCOMPARE(m_doc->GetUndoStack()->count(), steps + 1);
        QCOMPARE(Command(Undo)->text(), u"&Undo Cut\tCtrl+Z"_s);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->text().contains(u"Text 1"_s));
        QTest::keyClick(m_view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Band(1)->GetItems().GetCount(), 2);

        // Duplicate leaves the clipboard alone; a band goes where a new band of its kind goes.
        const QString clipboard = QGuiApplication::clipboard()->mimeData()->text();
        Click(Band(0));
        QTest::keyClick(m_view, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(m_doc->GetReport().GetBands().GetCount(), 3);
        CVornBand *copy = Band(2);
        QCOMPARE(copy->GetName(), u"Report Contents 1"_s);
        QCOMPARE(copy->GetItems()[0]->GetName(), u"Greeting"_s);
        QVERIFY(copy->IsSelected());
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), clipboard);
        QCOMPARE(Command(Undo)->text(), u"&Undo Duplicate\tCtrl+Z"_s);
    }

    // Several items of two bands are copied as one fragment and pasted each into the band of
    // its band's name, ten pixels on; a duplicated band's DB Text names the copy; a Page Break
    // takes no items; plain text on the clipboard is refused in the status bar.
    void severalItemsAndReferences()
    {
        auto *second = new CVornText;
        second->SetName(u"Second"_s);
        second->SetRect(1270, 1270, 2540, 1905);
        Band(1)->GetItems().Add(second);
        auto *field = new CVornDbText;
        field->SetName(u"Field"_s);
        field->SetDataSource(u"Orders"_s);
        field->SetRect(10000, 0, 12000, 500);
        Band(0)->GetItems().Add(field);

        Click(m_text);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          m_view->GetItemPixelRect(second).ToQRect().center()
                                  - m_view->GetScrollPosition());
        QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Band(0)->GetItems().GetCount(), 3);
        QCOMPARE(Band(1)->GetItems().GetCount(), 2);
        const CVornItem *pasted = Band(1)->GetItems()[1];
        QCOMPARE(pasted->GetLeft(), 1270 + 264);
        QCOMPARE(Band(0)->GetItems()[2]->GetTop(), 1270 + 264);
        QCOMPARE(Report().GetSelection().size(), size_t(2));
        QCOMPARE(m_doc->GetUndoStack()->count(), 1);

        Click(Band(0));
        QTest::keyClick(m_view, Qt::Key_D, Qt::ControlModifier);
        const CVornBand *copy = Band(2);
        QCOMPARE(static_cast<const CVornDbText *>(copy->GetItems()[1])->GetDataSource(),
                 copy->GetName());
        QCOMPARE(field->GetDataSource(), u"Orders"_s);

        // One item cannot go into a Page Break. (The pasted copy lies over the text's centre.)
        m_view->SelectElement(m_text);
        QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
        auto *pageBreak = new CVornBand(VornKind::PageBreak, u"Break"_s);
        Report().GetBands().Add(pageBreak);
        m_view->SelectElement(pageBreak);
        const int steps = m_doc->GetUndoStack()->count();
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(pageBreak->GetItems().GetCount(), 0);
        QCOMPARE(m_doc->GetUndoStack()->count(), steps);
        QCOMPARE(m_frame->statusBar()->currentMessage(),
                 u"Nothing was pasted: A Page Break band takes no items"_s);

        QGuiApplication::clipboard()->setText(u"plain words"_s);
        QVERIFY(Enabled(Paste));
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_frame->statusBar()->currentMessage(),
                 u"The clipboard holds no Vantel band or item"_s);
    }

    void refusedClipboard_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        CVornReport report;
        auto *band = new CVornBand(VornKind::ReportContents, u"Orders"_s);
        band->SetHeight(5080);
        report.GetBands().Add(band);
        const QByteArray whole = ReportClipboard::WriteFragment(report, *band);
        QTest::newRow("truncated") << whole.left(whole.size() / 2);
        QTest::newRow("another program's bytes") << QByteArray("\x89PNG\r\n\x1a\n0000");
        QTest::newRow("a whole report, not a fragment")
                << VornTemplate::WriteReportXml(report).toUtf8();
        QTest::newRow("entity expansion")
                << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaa\">"
                              "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                              "<report title=\"Vantel band\">&b;</report>");
    }
    void refusedClipboard()
    {
        QFETCH(QByteArray, bytes);
        Click(m_text);
        const QString before = VornTemplate::WriteReportXml(Report());
        auto *data = new QMimeData;
        data->setData(ReportClipboard::MimeType(), bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(VornTemplate::WriteReportXml(Report()), before);
        QCOMPARE(m_doc->GetUndoStack()->count(), 0);
        QVERIFY(m_frame->statusBar()->currentMessage().startsWith(u"Nothing was pasted: "_s));
    }

    void deletingABandWithItemsAsks()
    {
        Click(Band(0));
        {
            CModalAnswer no(QMessageBox::No);
            QTest::keyClick(m_view, Qt::Key_Delete);
            QCOMPARE(no.texts, QStringList({u"Delete the band \"Orders\" and its 1 item?"_s}));
        }
        QCOMPARE(Report().GetBands().GetCount(), 2);
        QVERIFY(!m_doc->IsModified());
        {
            CModalAnswer yes(QMessageBox::Yes);
            QTest::keyClick(m_view, Qt::Key_Delete);
        }
        QCOMPARE(Report().GetBands().GetCount(), 1);
        // The band left is empty: no question.
        CModalAnswer none(QMessageBox::No);
        QTest::keyClick(m_view, Qt::Key_Delete);
        QCOMPARE(none.dialogs, 0);
        QCOMPARE(Report().GetBands().GetCount(), 0);
        QCOMPARE(Command(Undo)->text(), u"&Undo Delete\tCtrl+Z"_s);
    }

private:
    CVornReport &Report() { return m_doc->GetReport(); }
    CVornBand *Band(int i) { return Report().GetBands()[i]; }
    QAction *Command(int id) const { return m_frame->FindCommand(id); }
    bool Enabled(int id) const { return Command(id)->isEnabled(); }

    // A click inside the object, clear of its edges.
    void Click(const CVornElement *element)
    {
        const QRect rect = m_view->GetItemPixelRect(element).ToQRect();
        const QPoint at
                = element->IsBandElement() ? rect.topLeft() + QPoint(600, 20) : rect.center();
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, at - m_view->GetScrollPosition());
        QCOMPARE(Report().FindFirstSelected(), element);
    }

    std::unique_ptr<CQuarnDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CQuarnView *m_view = nullptr;
    CVornText *m_text = nullptr;
};

VANTEL_TEST_CLASS(TestEditCommands)
#include "tst_editcommands.moc"
