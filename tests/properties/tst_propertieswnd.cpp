#include "colorpickercombo.h"
#include "fontcolordlg.h"
#include "pathedit.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertypage.h"
#include "samplereport.h"
#include "sqldlg.h"
#include "testregistry.h"
#include "testutil.h"
#include "vorndocument.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace SampleReport;

namespace {

// A document whose report can be replaced as New and Open do.
class CTestDocument : public CVornDocument
{
public:
    using CVornDocument::NotifyReportReset;
};

// Runs action on the first modal dialog of class D that shows up while a
// test waits in an event loop (a dialog's own exec, for instance).
template<typename D, typename Action>
void WhenModal(Action action)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        // A loaded machine can take seconds to build a file dialog: wait long enough that
        // a late dialog is still answered instead of blocking the test.
        if (!dialog && clock->elapsed() < 120000)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (dialog)
            action(dialog);
    });
    timer->start();
}

// Closes the next message box with OK and keeps its title and text.
struct MessageWatch
{
    QString title;
    QString text;
    int count = 0;

    void Arm()
    {
        WhenModal<QMessageBox>([this](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            ++count;
            box->button(QMessageBox::Ok)->click();
        });
    }
};

class Fixture
{
public:
    Fixture()
    {
        Fill(document.GetReport());
        pane.SetDocument(&document);
        pane.resize(420, 640);
        pane.show();
    }

    CPropertiesCtrl *Grid() const { return pane.GetPropertyGrid(); }
    CVornElement *Object(const QString &name) { return document.GetReport().FindByName(name); }
    // The row shown under that name, top-level rows first, then the sub-rows of the groups.
    CPropertyGridProperty *Row(const QString &name) const
    {
        for (int i = 0; i < Grid()->GetRowCount(); ++i) {
            if (Grid()->GetRow(i)->GetName() == name)
                return Grid()->GetRow(i);
        }
        for (int i = 0; i < Grid()->GetRowCount(); ++i) {
            CPropertyGridProperty *group = Grid()->GetRow(i);
            for (int j = 0; j < group->childCount(); ++j) {
                if (group->GetSubRow(j)->GetName() == name)
                    return group->GetSubRow(j);
            }
        }
        return nullptr;
    }
    // A left click on the row's value, as the user starts an edit.
    void ClickValue(CPropertyGridProperty *row) const
    {
        Grid()->scrollToItem(row);
        const QRect rect = Grid()->visualItemRect(row);
        const QPoint point(Grid()->columnWidth(0) + 20, rect.center().y());
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, point);
    }
    template<typename Editor>
    Editor *OpenEditor(const QString &rowName) const
    {
        ClickValue(Row(rowName));
        return Grid()->viewport()->findChild<Editor *>();
    }
    void TypeInto(const QString &rowName, const QString &text) const
    {
        auto *edit = OpenEditor<QLineEdit>(rowName);
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        // Return ends the edit through a queued call.
        QTRY_VERIFY(!Grid()->viewport()->findChild<QLineEdit *>());
    }

    CTestDocument document;
    CPropertiesWnd pane;
};

} // namespace

// The Properties pane edited through its grid, as a user does it.
class TestPropertiesWnd : public QObject
{
    Q_OBJECT

private slots:
    void testConnectionAsksWithTheReportAndShowsTheAnswer()
    {
        // The user right-clicks the report page and picks Test Connection.
        Fixture f;
        QString asked;
        f.pane.SetConnectionTester([&asked](const CVornReport &report, QString &message) {
            asked = report.GetConnectString();
            message = u"Cannot open the database x: refused"_s;
            return false;
        });
        f.pane.ShowReportProperties();
        MessageWatch watch;
        watch.Arm();
        QVERIFY(f.pane.TestConnection());
        QCOMPARE(asked, f.document.GetReport().GetConnectString());
        QCOMPARE(watch.title, u"Test Connection"_s);
        QCOMPARE(watch.text, u"Cannot open the database x: refused"_s);
        // A band's page has no database settings.
        f.pane.ShowProperties(f.Object(u"Orders"_s));
        QVERIFY(!f.pane.TestConnection());
    }

    void typedLengths_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("12") << u"12"_s << 1200 << u"12"_s;
        QTest::newRow("text after the number") << u"7 mm"_s << 700 << u"7"_s;
        QTest::newRow("negative") << u"-3"_s << -300 << u"-3"_s;
        QTest::newRow("no number") << u"high"_s << 0 << u"0"_s;
        QTest::newRow("hundredths") << u"1.5"_s << 150 << u"1.5"_s;
        QTest::newRow("more decimals than kept") << u"2.346"_s << 235 << u"2.35"_s;
    }
    // The user selects the band "Orders", clicks its "Band Height", types a
    // number and presses Enter.
    void typedLengths()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(QString, shown);
        Fixture f;
        auto *band = static_cast<CVornBand *>(f.Object(u"Orders"_s));
        f.pane.ShowProperties(band);
        QSignalSpy changes(&f.document, &CVornDocument::changed);

        f.TypeInto(u"Band Height"_s, typed);
        QCOMPARE(band->GetHeight(), stored);
        QVERIFY(f.document.IsModified());
        QCOMPARE(changes.count(), 1);
        const auto change = changes.at(0).at(0).value<CReportChange>();
        QCOMPARE(change.parts, CReportChange::Parts(CReportChange::Bands));
        CPropertyGridProperty *row = f.Row(u"Band Height"_s);
        QCOMPARE(row->GetValue(), shown);
        QCOMPARE(row->text(1), shown);
        QVERIFY(row->IsModified());
        QCOMPARE(f.pane.GetCurrentObject(), band);
    }

    // The user types the value the row already shows: nothing is reported.
    void unchangedValueIsNoEdit()
    {
        Fixture f;
        f.pane.ShowProperties(f.Object(u"Orders"_s));
        f.TypeInto(u"Band Height"_s, u"25.99"_s);
        QVERIFY(!f.document.IsModified());
        QVERIFY(!f.Row(u"Band Height"_s)->IsModified());
    }

    // The user edits "Left" of the text item: the group row "Position" shows
    // the new value among the others.
    void subRowUpdatesItsGroup()
    {
        Fixture f;
        CVornElement *text = f.Object(u"Text 1"_s);
        f.pane.ShowProperties(text);
        QCOMPARE(f.Row(u"Position"_s)->text(1), u"-1.5, 1.99, 50, 20.5"_s);
        f.TypeInto(u"Left"_s, u"4"_s);
        QCOMPARE(static_cast<CVornItem *>(text)->GetLeft(), 400);
        QCOMPARE(f.Row(u"Position"_s)->text(1), u"4, 1.99, 50, 20.5"_s);
    }

    // The user opens the report page, drops down "Page Orientation" and picks
    // "Landscape".
    void pickOption()
    {
        Fixture f;
        f.pane.ShowReportProperties();
        QSignalSpy changes(&f.document, &CVornDocument::changed);
        auto *combo = f.OpenEditor<QComboBox>(u"Page Orientation"_s);
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), u"Portrait"_s);
        QCOMPARE(combo->count(), 2);
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(1, 0)).center());
        QCOMPARE(f.document.GetReport().GetPortrait(), 0);
        QCOMPARE(changes.count(), 1);
        QVERIFY(changes.at(0).at(0).value<CReportChange>().Has(CReportChange::PageSize));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.Row(u"Page Orientation"_s)->GetValue(), u"Landscape"_s);
        QTRY_VERIFY(!f.Grid()->viewport()->findChild<QComboBox *>());
    }

    // The user renames the text item to the name of another item on its band
    // (in other letter case): a message says why, the name stays and the row
    // shows it again.
    void duplicateName()
    {
        Fixture f;
        CVornElement *text = f.Object(u"Text 1"_s);
        f.pane.ShowProperties(text);
        MessageWatch message;
        message.Arm();
        f.TypeInto(u"Name"_s, u"AMOUNT"_s);
        QCOMPARE(message.count, 1);
        QCOMPARE(message.title, u"Vantel"_s);
        QCOMPARE(message.text, u"Duplicate object name: AMOUNT"_s);
        QCOMPARE(text->GetName(), u"Text 1"_s);
        QCOMPARE(f.Row(u"Name"_s)->GetValue(), u"Text 1"_s);
        QVERIFY(!f.Row(u"Name"_s)->IsModified());
        QVERIFY(!f.document.IsModified());
        // Closing the message did not commit the editor a second time.
        QTest::qWait(50);
        QCOMPARE(message.count, 1);
    }

    // The user renames a band: its references follow and the name row shows
    // the new name; an empty name is not taken and the row shows the old one.
    void bandRename()
    {
        Fixture f;
        auto *groups = static_cast<CVornBand *>(f.Object(u"Groups"_s));
        auto *orders = static_cast<CVornBand *>(f.Object(u"Orders"_s));
        groups->SetSelected(true);
        f.pane.ShowProperties(groups);
        f.TypeInto(u"Name"_s, u"Sections"_s);
        QCOMPARE(groups->GetName(), u"Sections"_s);
        QCOMPARE(orders->GetHeader(), u"Sections"_s);
        QCOMPARE(f.Row(u"Name"_s)->GetValue(), u"Sections"_s);

        f.document.SetModifiedFlag(false);
        f.TypeInto(u"Name"_s, QString());
        QCOMPARE(groups->GetName(), u"Sections"_s);
        QCOMPARE(f.Row(u"Name"_s)->GetValue(), u"Sections"_s);
        // Nothing changed, so the report is still as saved.
        QVERIFY(!f.document.IsModified());

        // One undo takes back the name with the references it rewrote, and shows the band.
        f.document.GetUndoStack()->undo();
        QCOMPARE(groups->GetName(), u"Groups"_s);
        QCOMPARE(orders->GetHeader(), u"Groups"_s);
        QCOMPARE(f.pane.GetCurrentObject(), groups);
        QCOMPARE(f.Row(u"Name"_s)->GetValue(), u"Groups"_s);
        QVERIFY(f.document.IsModified());
    }

    void sqlEditor_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("modified");
        // An edit that changes nothing leaves no undo step and the report as it was saved.
        QTest::newRow("band, OK without changes")
                << u"Orders"_s << u"ok"_s << QString() << u"SELECT *\r\nFROM orders"_s << false;
        QTest::newRow("band, typed and OK") << u"Orders"_s << u"ok"_s << u"\nWHERE id = 1"_s
                                            << u"SELECT *\r\nFROM orders\r\nWHERE id = 1"_s << true;
        QTest::newRow("band, typed and Cancel")
                << u"Orders"_s << u"cancel"_s << u" x"_s << u"SELECT *\r\nFROM orders"_s << false;
        QTest::newRow("band, cleared and OK")
                << u"Orders"_s << u"clear"_s << QString() << QString() << true;
        QTest::newRow("DB Text keeps the lines")
                << u"Amount"_s << u"ok"_s << u"\n-- note\nWHERE  x = 'a  b'"_s
                << u"SELECT a,\r\n\t  b FROM t\r\n-- note\r\nWHERE  x = 'a  b'"_s << true;
        QTest::newRow("DB Text, Cancel")
                << u"Amount"_s << u"cancel"_s << u"1"_s << u"SELECT a,\r\n\t  b FROM t"_s << false;
    }
    // The user clicks "SQL Query", edits the query in the SQL Editor and
    // closes it with OK or Cancel.
    void sqlEditor()
    {
        QFETCH(QString, object);
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(QString, query);
        QFETCH(bool, modified);
        Fixture f;
        CVornElement *element = f.Object(object);
        f.pane.ShowProperties(element);
        CPropertyGridProperty *row = f.Row(u"SQL Query"_s);
        const QString before = row->GetValue();

        QString opened;
        WhenModal<CSqlDlg>([&opened, action, typed](CSqlDlg *dialog) {
            auto *edit = dialog->findChild<QPlainTextEdit *>(u"sqlEdit"_s);
            opened = edit->toPlainText();
            if (action == u"clear") {
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Delete);
            }
            edit->moveCursor(QTextCursor::End);
            for (const QChar c : typed) {
                if (c == u'\n')
                    QTest::keyClick(edit, Qt::Key_Return);
                else
                    QTest::keyClicks(edit, QString(c));
            }
            const QString button = action == u"cancel" ? u"cancelButton"_s : u"okButton"_s;
            dialog->findChild<QPushButton *>(button)->click();
        });
        f.ClickValue(row);

        QVERIFY(!opened.isEmpty());
        const QString stored = object == u"Orders"_s
                ? static_cast<CVornBand *>(element)->GetDatabaseQuery()
                : static_cast<CVornDbText *>(element)->GetQuery();
        QCOMPARE(stored, query);
        QCOMPARE(f.document.IsModified(), modified);
        if (modified)
            QCOMPARE(row->GetValue(), SqlOneLine(query));
        else
            QCOMPARE(row->GetValue(), before);
        QCOMPARE(row->IsModified(),
                 stored
                         != (object == u"Orders"_s ? u"SELECT *\r\nFROM orders"_s
                                                   : u"SELECT a,\r\n\t  b FROM t"_s));
    }

    // The user picks a font with a colour in the font dialog: font and colour
    // are stored as one step, and "Text Color" shows the new colour.
    void fontDialog()
    {
        Fixture f;
        auto *text = static_cast<CVornText *>(f.Object(u"Amount"_s));
        f.pane.ShowProperties(text);
        CPropertyFont chosen;
        chosen.faceName = u"Courier New"_s;
        chosen.height = -MulDivRound(14, f.pane.ScreenDpiY(), 72);
        chosen.weight = 700;
        chosen.underline = true;
        chosen.color = 0x0000FF;
        WhenModal<CFontColorDlg>([chosen](CFontColorDlg *dialog) {
            dialog->SetPropertyFont(chosen);
            dialog->accept();
        });
        f.ClickValue(f.Row(u"Font"_s));

        QCOMPARE(text->GetFontSize(), 14);
        QCOMPARE(text->GetBold(), 1);
        QCOMPARE(text->GetUnderline(), 1);
        QCOMPARE(text->GetItalic(), 0);
        QCOMPARE(text->GetCharset(), 1);
        QVERIFY(f.document.IsModified());
        QCOMPARE(text->GetColor(), 0x0000FFu);
        QCOMPARE(f.Row(u"Text Color"_s)->GetColor(), 0x0000FFu);
        QCOMPARE(f.document.GetUndoStack()->count(), 1);
        QCOMPARE(f.Row(u"Font"_s)->GetValue().section(u", "_s, 1), u"14, Bold, Underline"_s);
    }

    // The user makes the text green, then opens the font dialog: it offers
    // green, and after OK the row still shows the green the item has.
    void fontDialogOffersTheColourTheItemHasNow()
    {
        Fixture f;
        auto *text = static_cast<CVornText *>(f.Object(u"Amount"_s));
        f.pane.ShowProperties(text);
        CPropertyGridProperty *colorRow = f.Row(u"Text Color"_s);
        // What the colour editor does once the user has picked green and closed it.
        colorRow->SetColor(0x00FF00);
        f.Grid()->NotifyPropertyChanged(colorRow);
        QCOMPARE(text->GetColor(), 0x00FF00u);
        quint32 offered = 1;
        WhenModal<CFontColorDlg>([&offered](CFontColorDlg *dialog) {
            offered = dialog->GetPropertyFont().color;
            dialog->accept();
        });
        f.ClickValue(f.Row(u"Font"_s));
        QCOMPARE(offered, 0x00FF00u);
        QCOMPARE(text->GetColor(), 0x00FF00u);
        QCOMPARE(f.Row(u"Text Color"_s)->GetColor(), 0x00FF00u);
    }

    // OK in the font dialog without touching it keeps the item's face, even
    // when that face is shown through a substitute.
    void fontDialogKeepsFace()
    {
        Fixture f;
        auto *text = static_cast<CVornText *>(f.Object(u"Amount"_s));
        text->SetFontName(u"No Such Face Installed"_s);
        f.pane.ShowProperties(text);
        WhenModal<CFontColorDlg>([](CFontColorDlg *dialog) { dialog->accept(); });
        f.ClickValue(f.Row(u"Font"_s));
        QVERIFY(f.document.IsModified());
        QCOMPARE(text->GetFontName(), u"No Such Face Installed"_s);
        QCOMPARE(text->GetFontSize(), 10);
        QCOMPARE(text->GetBold(), 0);
    }

    // The user drops down "Background Color" of the shape and picks a swatch.
    void pickColor()
    {
        Fixture f;
        auto *shape = static_cast<CVornShape *>(f.Object(u"Shape 1"_s));
        f.pane.ShowProperties(shape);
        auto *picker = f.OpenEditor<CColorPickerCombo>(u"Background Color"_s);
        QVERIFY(picker);
        QCOMPARE(picker->currentText(), u"White"_s);
        QCOMPARE(picker->itemText(0), u"Default"_s);
        QCOMPARE(picker->itemText(picker->count() - 1), u"Other..."_s);
        const int red = picker->findText(u"Red"_s);
        picker->showPopup();
        QAbstractItemView *list = picker->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(red, 0)).center());
        QCOMPARE(shape->GetBkColor(), 0x0000FFu);
        QCOMPARE(f.Row(u"Background Color"_s)->GetValue(), u"#FF0000"_s);
        QVERIFY(f.document.IsModified());
    }

    // The user picks an image file in the open dialog.
    void imageFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"logo.png"_s);
        QVERIFY(TestUtil::WriteAll(path, QByteArray("\x89PNG-bytes")));
        Fixture f;
        auto *image = static_cast<CVornImage *>(f.Object(u"Logo"_s));
        f.pane.ShowProperties(image);
        WhenModal<QFileDialog>([path](QFileDialog *dialog) {
            // The whole path typed as the file name does not depend on the dialog's folder
            // listing, which a thread of its own fills in later.
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(path);
            // QFileDialog's own accept is protected; it checks the selection.
            static_cast<QDialog *>(dialog)->accept();
            // A selection it refused would leave the dialog open: close it so that the test
            // fails instead of waiting for ever.
            if (dialog->isVisible())
                dialog->reject();
        });
        f.ClickValue(f.Row(u"Image File"_s));
        QCOMPARE(image->GetImageData(), QByteArray("\x89PNG-bytes"));
        QCOMPARE(f.Row(u"Image File"_s)->GetValue(), path);
        QVERIFY(f.document.IsModified());
    }

    // The Data Field of a DB item offers the columns its source is known to return; another
    // name can still be typed.
    void dataFieldChoices()
    {
        Fixture f;
        QList<const CVornElement *> asked;
        f.pane.SetColumnSource([&asked](const CVornElement *item) {
            asked << item;
            return QStringList {u"CODE"_s, u"AMOUNT"_s};
        });
        auto *amount = static_cast<CVornDbText *>(f.Object(u"Amount"_s));
        f.pane.ShowProperties(amount);
        QCOMPARE(asked, QList<const CVornElement *> {amount});
        auto *combo = f.OpenEditor<QComboBox>(u"Data Field"_s);
        QVERIFY(combo && combo->isEditable());
        QCOMPARE(combo->count(), 2);
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QCOMPARE(amount->GetDataField(), u"CODE"_s);
        QTRY_VERIFY(!f.Grid()->viewport()->findChild<QComboBox *>());

        combo = f.OpenEditor<QComboBox>(u"Data Field"_s);
        QVERIFY(combo);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), u"TOTAL"_s);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(amount->GetDataField(), u"TOTAL"_s);
    }

    // An SQLite report's database is chosen in a file dialog; its full path is stored (the
    // document makes it relative when it saves). Other databases get no file button.
    void databaseFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"shop.db"_s);
        QVERIFY(TestUtil::WriteAll(path, QByteArray()));
        Fixture f;
        f.pane.ShowReportProperties();
        QVERIFY(!f.OpenEditor<CPathEdit>(u"Database Connection String"_s));
        f.document.GetReport().SetDatabaseType(0);
        f.pane.ShowReportProperties();
        auto *edit = f.OpenEditor<CPathEdit>(u"Database Connection String"_s);
        QVERIFY(edit);
        WhenModal<QFileDialog>([path](QFileDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(name);
            name->setText(path);
            static_cast<QDialog *>(dialog)->accept();
            if (dialog->isVisible())
                dialog->reject();
        });
        edit->GetButton()->click();
        QCOMPARE(f.document.GetReport().GetConnectString(), path);
        QVERIFY(f.document.IsModified());
    }

    // Clicking a read-only row or a group row opens no editor.
    void readOnlyRows()
    {
        Fixture f;
        f.pane.ShowReportProperties(u"/tmp/r.vnt"_s);
        f.ClickValue(f.Row(u"(File Name)"_s));
        QVERIFY(!f.Grid()->viewport()->findChild<QLineEdit *>());
        f.ClickValue(f.Row(u"Page Size"_s));
        QVERIFY(!f.Grid()->viewport()->findChild<QLineEdit *>());
        QCOMPARE(f.Row(u"(File Name)"_s)->GetValue(), u"/tmp/r.vnt"_s);
        QVERIFY(!f.document.IsModified());
    }

    void focusMainProperty_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("row");
        QTest::newRow("report") << QString() << u"Title"_s;
        QTest::newRow("DB Text") << u"Amount"_s << u"Data Field"_s;
        QTest::newRow("Barcode") << u"Code"_s << u"Name"_s;
    }
    // The user presses Enter in the design view: the main row is selected,
    // its description shown and the grid has the focus.
    void focusMainProperty()
    {
        QFETCH(QString, object);
        QFETCH(QString, row);
        Fixture f;
        QApplication::setActiveWindow(&f.pane);
        f.pane.ShowProperties(object.isEmpty() ? nullptr : f.Object(object));
        f.pane.FocusMainProperty();
        QCOMPARE(f.Grid()->GetCurrentRow(), f.Row(row));
        QTRY_VERIFY(f.Grid()->hasFocus());
        QCOMPARE(f.pane.findChild<QLabel *>(u"descriptionName"_s)->text(), row);
        QCOMPARE(f.pane.findChild<QLabel *>(u"descriptionText"_s)->text(),
                 f.Row(row)->GetDescription());
    }

    // New or Open replaces the report: the pane forgets the object it showed
    // and shows the report page.
    void reportReset()
    {
        Fixture f;
        f.pane.ShowProperties(f.Object(u"Amount"_s));
        f.document.GetReport().Reset();
        f.document.NotifyReportReset();
        QCOMPARE(f.pane.GetCurrentObject(), nullptr);
        QCOMPARE(f.Row(u"(Object)"_s)->GetValue(), u"Entire Report"_s);
        f.TypeInto(u"Title"_s, u"Fresh"_s);
        QCOMPARE(f.document.GetReport().GetTitle(), u"Fresh"_s);
    }

    // An edit that arrives after the shown item was deleted, before the view
    // showed another page, changes nothing.
    void deletedObjectIsNotTouched()
    {
        Fixture f;
        CVornBand *orders = f.document.GetReport().GetBands()[1];
        CVornElement *code = f.Object(u"Code"_s);
        f.pane.ShowProperties(code);
        CPropertyGridProperty *row = f.Row(u"Barcode"_s);
        row->SetValue(u"1"_s);
        delete orders->GetItems().RemoveAt(
                orders->GetItems().IndexOf(static_cast<CVornItem *>(code)));
        f.pane.OnPropertyChanged(row);
        QVERIFY(!f.document.IsModified());
        f.pane.ShowProperties(nullptr);
        QCOMPARE(f.pane.GetCurrentObject(), nullptr);
    }

    void rebuildWhileReporting_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("typed row") << u"Band Height"_s;
        QTest::newRow("SQL row") << u"SQL Query"_s;
        QTest::newRow("name refused") << u"Name"_s;
    }
    // An application that rebuilds the page whenever the report changes (the
    // rows of the edit are deleted while the edit is reported) keeps working.
    void rebuildWhileReporting()
    {
        QFETCH(QString, row);
        Fixture f;
        CVornElement *orders = f.Object(u"Orders"_s);
        f.pane.ShowProperties(orders);
        int rebuilds = 0;
        const auto rebuild = [&f, orders, &rebuilds] {
            f.pane.ShowProperties(orders);
            ++rebuilds;
        };
        QObject::connect(&f.document, &CVornDocument::changed, &f.pane, rebuild);
        if (row == u"SQL Query") {
            WhenModal<CSqlDlg>([](CSqlDlg *dialog) {
                auto *edit = dialog->findChild<QPlainTextEdit *>(u"sqlEdit"_s);
                edit->moveCursor(QTextCursor::End);
                QTest::keyClicks(edit, u" "_s);
                dialog->findChild<QPushButton *>(u"okButton"_s)->click();
            });
            f.ClickValue(f.Row(row));
        } else if (row == u"Name") {
            WhenModal<QMessageBox>([&rebuild](QMessageBox *box) {
                rebuild();
                box->accept();
            });
            f.TypeInto(row, u"groups"_s);
        } else {
            f.TypeInto(row, u"3"_s);
        }
        QCOMPARE(rebuilds, 1);
        QCOMPARE(f.pane.GetCurrentObject(), orders);
        QCOMPARE(f.Grid()->GetRowCount(), 14);
    }

    // Pages of kinds without a page leave the pane as it is; without a
    // document the pane is empty.
    void noPage()
    {
        Fixture f;
        CVornElement *code = f.Object(u"Code"_s);
        f.pane.ShowProperties(code);
        CVornBand odd(13, u"Odd"_s);
        f.pane.ShowProperties(&odd);
        QCOMPARE(f.pane.GetCurrentObject(), code);
        QCOMPARE(f.Row(u"(Object)"_s)->GetValue(), u"Barcode"_s);
        f.pane.SetDocument(nullptr);
        QCOMPARE(f.Grid()->GetRowCount(), 0);
        f.pane.ShowReportProperties();
        QCOMPARE(f.Grid()->GetRowCount(), 0);
    }
};

VANTEL_TEST_CLASS(TestPropertiesWnd)
#include "tst_propertieswnd.moc"
