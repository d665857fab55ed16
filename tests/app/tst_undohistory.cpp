#include "layoutcommands.h"
#include "optionlist.h"
#include "pagegeometry.h"
#include "propertyedit.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "reportclipboard.h"
#include "reportedit.h"
#include "reportfile.h"
#include "testregistry.h"
#include "viewinteraction.h"
#include "vornitems.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Drives the example report through the code paths the designer's widgets use: the view's
// interaction rules, the Properties pane's edits, the clipboard's paste and the stored
// parameter values. Every operation picks its target and values from one seeded generator.
class CEditPlayer
{
public:
    CEditPlayer(CQuarnDoc &doc, quint32 seed, const QString &pictureFolder)
        : m_doc(doc)
        , m_random(seed)
        , m_pictureFolder(pictureFolder)
    { }

    using Selection = std::vector<CVornElement *>;

    // The selection when the last edit began, which its undo brings back.
    Selection SelectionAtEdit() const { return m_mark; }

    // One random user action; some change nothing, which leaves no step.
    void Play()
    {
        m_mark = Report().GetSelection();
        switch (Below(15)) {
        case 0:
            Insert();
            break;
        case 1:
            Drag();
            break;
        case 2:
            Keys();
            break;
        case 3:
            Delete();
            break;
        case 4:
        case 5:
            EditProperty();
            break;
        case 6:
            RenameBand();
            break;
        case 7:
            PasteCopy();
            break;
        case 8:
            StoreParameters();
            break;
        case 9:
            // Undone steps are dropped by the next edit.
            m_doc.GetUndoStack()->undo();
            break;
        case 10:
            SelectSeveral();
            break;
        case 11:
            Format();
            break;
        case 12:
            EditSeveral();
            break;
        default:
            SelectSomething();
            break;
        }
    }

private:
    void Mark() { m_mark = Report().GetSelection(); }
    int Below(int n) { return int(m_random.bounded(n)); }
    CVornReport &Report() { return m_doc.GetReport(); }

    CViewInteraction &Do()
    {
        m_interaction.reset();
        m_geometry.emplace(Report(), 96, 96, PixRect {0, 0, 900, 700}, QPoint(),
                           CPageGeometry::TotalScrollSize(Report(), 96, 96));
        m_interaction.emplace(m_doc, *m_geometry, m_state);
        return *m_interaction;
    }

    const CPageGeometry &Geometry()
    {
        Do();
        return *m_geometry;
    }

    QList<CVornElement *> Objects()
    {
        QList<CVornElement *> all;
        for (CVornBand *band : Report().GetBands()) {
            all << band;
            for (CVornItem *item : band->GetItems())
                all << item;
        }
        return all;
    }

    CVornElement *SelectSomething()
    {
        const QList<CVornElement *> all = Objects();
        CVornElement *element = all.isEmpty() ? nullptr : all.at(Below(int(all.size())));
        Do().SelectItem(element);
        return element;
    }

    QPoint PagePoint()
    {
        const PixRect page = Geometry().GetPageRect();
        return {page.left + Below(page.right - page.left),
                page.top + Below(std::max(1, std::min(page.bottom, 900) - page.top))};
    }

    // A few items picked with Shift and Ctrl, or drawn around with a rectangle.
    void SelectSeveral()
    {
        if (Below(2)) {
            // Without Shift a press on an item drags it: the rectangle starts where none lies.
            const bool add = Below(2);
            if (!add)
                Do().SelectItem(nullptr);
            QPoint from = PagePoint();
            for (int tries = 0; !add && tries < 20; ++tries) {
                const CVornElement *hit = Do().HitTest(from, false);
                if (!hit || hit->IsBandElement())
                    break;
                from = PagePoint();
            }
            const CVornElement *hit = Do().HitTest(from, false);
            if (!add && hit && !hit->IsBandElement())
                return;
            Do().OnLeftButtonDown(from, add ? Qt::ShiftModifier : Qt::NoModifier);
            const QPoint to = from + QPoint(Below(401) - 200, Below(301) - 150);
            Do().OnMouseMove(to);
            Do().OnLeftButtonUp(to);
            return;
        }
        for (int i = Below(4) + 2; i > 0; --i) {
            const QList<CVornElement *> all = Objects();
            if (all.isEmpty())
                return;
            CVornElement *element = all.at(Below(int(all.size())));
            Do().AddToSelection(element, Below(3) == 0);
        }
    }

    // A Format command on what is selected, or on a few items selected first.
    void Format()
    {
        if (Below(2))
            SelectSeveral();
        const auto command
                = LayoutCommands::AllCommands[Below(int(std::size(LayoutCommands::AllCommands)))];
        Mark();
        LayoutCommands::Apply(m_doc, command, LayoutCommands::ScreenTextMeasure(96, 96));
    }

    // A drag, the arrow keys, a property edit, Delete or a Duplicate of several items.
    void EditSeveral()
    {
        SelectSeveral();
        const std::vector<CVornItem *> items = Report().GetSelectedItems();
        if (items.empty())
            return;
        Mark();
        switch (Below(5)) {
        case 0: {
            const QPoint from = Geometry().GetItemPixelRect(items.front()).ToQRect().center();
            Do().OnLeftButtonDown(from);
            // The press made the item the primary one; the drag begins from there.
            Mark();
            const QPoint to = from + QPoint(Below(61) - 30, Below(41) - 20);
            Do().OnMouseMove(to, Below(2) ? Qt::AltModifier : Qt::NoModifier);
            Do().OnLeftButtonUp(to);
            break;
        }
        case 1: {
            // Presses of one key: one step.
            const int key = Below(2) ? Qt::Key_Right : Qt::Key_Down;
            const bool shift = Below(2);
            const bool ctrl = Below(2);
            for (int i = Below(3) + 1; i > 0; --i)
                Do().OnKeyDown(key, shift, ctrl);
            break;
        }
        case 2: {
            CRowEdit edit;
            edit.id = Below(2) ? RowId::Top : RowId::HorzAlignment;
            edit.value = edit.id == RowId::Top ? QString::number(Below(20)) : u"Center"_s;
            ApplyEditStepToAll(m_doc, Report().GetSelection(), edit, 96);
            break;
        }
        case 3:
            Do().DeleteItems(items);
            break;
        default: {
            ReportClipboard::CFragment fragment;
            QString message;
            if (ReportClipboard::ReadFragment(ReportClipboard::WriteSelection(Report()), fragment,
                                              message)) {
                CReportEdit edit(m_doc, u"Duplicate"_s);
                ReportClipboard::Paste(edit, fragment, Report().FindFirstSelected(), 264, 264,
                                       message);
            }
            break;
        }
        }
    }

    void Insert()
    {
        static const int kinds[]
                = {VornKind::ReportHeader, VornKind::PageHeader, VornKind::ReportContents,
                   VornKind::PageFooter,   VornKind::Text,       VornKind::Shape,
                   VornKind::DbText,       VornKind::Image,      VornKind::Barcode,
                   VornKind::DbBarcode};
        const int kind = kinds[Below(int(std::size(kinds)))];
        Mark();
        Do().InsertAt(PagePoint(), kind);
    }

    void Drag()
    {
        CVornElement *element = SelectSomething();
        if (!element)
            return;
        const QRect rect = Geometry().GetItemPixelRect(element).ToQRect();
        // The middle moves an item; the bottom-right corner resizes it, the bottom edge a band.
        QPoint from = Below(2) ? rect.center() : rect.bottomRight();
        if (element->IsBandElement())
            from = QPoint(rect.center().x(), rect.bottom());
        // The press selects what lies on top there (which it then drags); the step begins
        // with that selection.
        Do().OnLeftButtonDown(from);
        Mark();
        QPoint at = from;
        for (int i = Below(4) + 1; i > 0; --i) {
            at += QPoint(Below(61) - 30, Below(41) - 20);
            Do().OnMouseMove(at);
        }
        Do().OnLeftButtonUp(at);
    }

    void Keys()
    {
        if (!Below(3))
            SelectSomething();
        static const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        const int key = keys[Below(4)];
        const bool shift = Below(2);
        Mark();
        for (int i = Below(4) + 1; i > 0; --i)
            Do().OnKeyDown(key, shift);
    }

    void Delete()
    {
        if (CVornElement *element = SelectSomething()) {
            Mark();
            Do().DeleteSelected(element);
        }
    }

    void RenameBand()
    {
        if (Report().GetBands().IsEmpty())
            return;
        CVornBand *band = Report().GetBands()[Below(Report().GetBands().GetCount())];
        Do().SelectItem(band);
        // Sometimes the name of another band (refused), sometimes a new one.
        const QString name = Below(4) ? u"Band%1"_s.arg(Below(50)) : Objects().at(0)->GetName();
        CRowEdit edit;
        edit.id = RowId::Name;
        edit.value = name;
        Mark();
        ApplyEditStep(m_doc, band, edit, 96);
    }

    void EditProperty()
    {
        CVornElement *element = Below(5) ? SelectSomething() : nullptr;
        if (!element)
            Do().SelectItem(nullptr);
        const QString number = QString::number(Below(120));
        QList<std::pair<QString, QString>> edits;
        if (!element) {
            edits = {{RowId::Title, u"Title %1"_s.arg(number)},
                     {RowId::PageHeight, QString::number(250 + Below(100))},
                     {RowId::Orientation, Below(2) ? u"Portrait"_s : u"Landscape"_s},
                     {RowId::DatabaseType, u"ODBC"_s}};
        } else if (element->IsBandElement()) {
            edits = {{RowId::BandHeight, number},
                     {RowId::Query, u"SELECT *\r\nFROM t%1 WHERE id = {ID}"_s.arg(number)},
                     {RowId::GroupHeader, u"Band1"_s},
                     {RowId::ParentDataSource, u"Band2"_s}};
        } else {
            edits = {{RowId::Left, number},
                     {RowId::Top, QString::number(Below(10))},
                     {RowId::Right, QString::number(Below(200))},
                     {RowId::Name, u"Item %1"_s.arg(number)},
                     {RowId::Text, u"Words %1"_s.arg(number)},
                     {RowId::DataSource, u"Band3"_s},
                     {RowId::ShapeType, u"Ellipse"_s},
                     {RowId::Barcode, u"400638133393%1"_s.arg(Below(10))},
                     {RowId::CanGrow, Below(2) ? u"Yes"_s : u"No"_s},
                     {RowId::Aggregate, VornOptions::Aggregate().Name(Below(6))},
                     {RowId::AggregateOver, VornOptions::AggregateOver().Name(Below(3))}};
            if (element->GetKind() == VornKind::Image) {
                // A new picture: the bytes of a file, different every time.
                const QString path = m_pictureFolder + u"/p%1.png"_s.arg(++m_pictures);
                QFile file(path);
                if (file.open(QIODevice::WriteOnly))
                    file.write(QByteArray(100 + Below(3000), char('a' + Below(26))));
                edits = {{RowId::ImageFile, path}};
            }
        }
        Mark();
        CRowEdit edit;
        std::tie(edit.id, edit.value) = edits.at(Below(int(edits.size())));
        edit.sqlText = edit.value;
        ApplyEditStep(m_doc, element, edit, 96);
    }

    void PasteCopy()
    {
        CVornElement *element = SelectSomething();
        if (!element)
            return;
        const QByteArray bytes = ReportClipboard::WriteFragment(Report(), *element);
        ReportClipboard::CFragment fragment;
        QString message;
        if (!ReportClipboard::ReadFragment(bytes, fragment, message))
            return;
        // Pasted next to itself, or into another object's band.
        CVornElement *target = Below(2) ? element : SelectSomething();
        Mark();
        CReportEdit edit(m_doc, u"Paste"_s);
        ReportClipboard::Paste(edit, fragment, target, 264, 264, message);
    }

    void StoreParameters()
    {
        Mark();
        CReportEdit edit(m_doc, u"Parameter Values"_s);
        edit.WillChangeParameters();
        Report().GetParameters().SetParameter(u"Band%1"_s.arg(Below(3)), u"ID"_s,
                                              QString::number(Below(1000)));
    }

    CQuarnDoc &m_doc;
    QRandomGenerator m_random;
    QString m_pictureFolder;
    int m_pictures = 0;
    Selection m_mark;
    CViewInteraction::State m_state;
    std::optional<CPageGeometry> m_geometry;
    std::optional<CViewInteraction> m_interaction;
};

QString Text(const CQuarnDoc &doc)
{
    return VornTemplate::WriteReportXml(doc.GetReport());
}

} // namespace

// A long session of every kind of edit on the example report can be taken back step by step
// to the report as it was opened and made again to where it ended, the template text equal
// byte for byte at every step, with the selection each step had.
class TestUndoHistory : public QObject
{
    Q_OBJECT

private slots:
    void randomSessionUndoesAndRedoesExactly_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 7") << 7u;
        QTest::newRow("seed 2024") << 2024u;
    }
    void randomSessionUndoesAndRedoesExactly()
    {
        QFETCH(quint32, seed);
        QTemporaryDir folder;
        CQuarnDoc doc;
        QString message;
        QVERIFY2(doc.OnOpenDocument(QStringLiteral(VANTEL_EXAMPLE_REPORT), message),
                 qPrintable(message));
        QUndoStack *history = doc.GetUndoStack();
        CEditPlayer player(doc, seed, folder.path());

        // The template and the selection at every index of the stack.
        using Selection = CEditPlayer::Selection;
        QStringList texts {Text(doc)};
        QList<Selection> before {{}};
        QList<Selection> after {{}};
        for (int i = 0; i < 400; ++i) {
            const int index = history->index();
            player.Play();
            const Selection selected = player.SelectionAtEdit();
            const int now = history->index();
            QVERIFY(now >= index - 1 && now <= index + 1);
            texts.resize(now + 1);
            before.resize(now + 1);
            after.resize(now + 1);
            const QString text = Text(doc);
            if (now < index)
                QCOMPARE(text, texts[now]);
            // A new step, or the last one grown by a merge; a selection alone is no step.
            if (now > index)
                before[now] = selected;
            if (now > index || text != texts[now])
                after[now] = doc.GetReport().GetSelection();
            texts[now] = text;
            QCOMPARE(doc.IsModified(), now != 0);
        }
        const int steps = history->index();
        QVERIFY2(steps > 150, qPrintable(QString::number(steps)));

        // Every undo and redo tells the views once, with the selection it brought back.
        QSignalSpy notices(&doc, &CVornDocument::changed);
        const auto replayed = [&notices](const Selection &selection) {
            if (notices.count() != 1)
                return false;
            const auto change = notices.takeFirst().at(0).value<CReportChange>();
            return change.Has(CReportChange::Replay)
                    && change.selected == (selection.empty() ? nullptr : selection.front());
        };
        for (int i = steps; i > 0; --i) {
            history->undo();
            QCOMPARE(Text(doc), texts[i - 1]);
            QVERIFY(doc.GetReport().GetSelection() == before[i]);
            QVERIFY(replayed(before[i]));
        }
        QVERIFY(!doc.IsModified());
        for (int i = 1; i <= steps; ++i) {
            history->redo();
            QCOMPARE(Text(doc), texts[i]);
            QVERIFY(doc.GetReport().GetSelection() == after[i]);
            QVERIFY(replayed(after[i]));
        }
        QVERIFY(doc.IsModified());
    }

    // Pictures count by their size: the oldest steps go once they keep too many bytes, and
    // what remains still undoes exactly.
    void pictureBytesBoundTheHistory()
    {
        CQuarnDoc doc;
        doc.SetHistoryByteLimit(10000);
        auto *band = new CVornBand(VornKind::ReportContents, u"Band"_s);
        band->SetHeight(5000);
        doc.GetReport().GetBands().Add(band);
        auto *image = new CVornImage;
        image->SetName(u"Picture"_s);
        band->GetItems().Add(image);
        QStringList texts {Text(doc)};
        for (int i = 0; i < 10; ++i) {
            CReportEdit edit(doc, u"Change Image File"_s);
            edit.WillChange(image);
            image->SetImageData(QByteArray(1500, char('a' + i)));
            edit.Commit();
            texts << Text(doc);
        }
        QVERIFY(doc.GetHistoryBytes() <= 10000);
        const int kept = doc.GetUndoStack()->count();
        QVERIFY(kept > 1 && kept < 10);
        QCOMPARE(doc.GetUndoStack()->index(), kept);
        for (int i = 0; i < kept; ++i)
            doc.GetUndoStack()->undo();
        QCOMPARE(Text(doc), texts[10 - kept]);
        QVERIFY(!doc.GetUndoStack()->canUndo());
        // The saved state was dropped with the oldest steps: still modified.
        QVERIFY(doc.IsModified());
    }

    void historyKeepsAtMostAThousandSteps()
    {
        CQuarnDoc doc;
        doc.GetReport().SetTitle(u"0"_s);
        for (int i = 1; i <= 1005; ++i) {
            CReportEdit edit(doc, u"Change Title"_s);
            edit.WillChangePage();
            doc.GetReport().SetTitle(QString::number(i));
        }
        QCOMPARE(doc.GetUndoStack()->count(), 1000);
        doc.GetUndoStack()->setIndex(0);
        QCOMPARE(doc.GetReport().GetTitle(), u"5"_s);
    }
};

VANTEL_TEST_CLASS(TestUndoHistory)
#include "tst_undohistory.moc"
