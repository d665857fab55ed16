#include "itemkinds.h"
#include "itemstate.h"
#include "reportedit.h"
#include "reportfile.h"
#include "testregistry.h"
#include "vorndocument.h"
#include "vornreport.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Tells each field of an item as "name=value", the fields the file holds apart; with a
// seed, it first gives field k (or every field) the value seed + k in its own type, which
// is no field's default.
class CFieldProbe : public CFieldVisitor
{
public:
    explicit CFieldProbe(int seed = -1, int only = -1)
        : m_seed(seed)
        , m_only(only)
    { }

    QStringList saved;
    QStringList all;

protected:
    void Visit(const char *name, FieldRef value, Saved isSaved) override
    {
        const int k = m_index++;
        if (m_seed >= 0 && (m_only < 0 || k == m_only))
            std::visit([n = m_seed + k](auto *field) { Fill(*field, n); }, value);
        const QString line = QString::fromLatin1(name) + u'='
                + std::visit([](const auto *field) { return Text(*field); }, value);
        all.append(line);
        // A legacy field is written, but reading it is the kind's business.
        if (isSaved == Saved::Yes || isSaved == Saved::IfNotDefault)
            saved.append(line);
    }

private:
    static void Fill(QString &field, int n) { field = u"v%1"_s.arg(n); }
    static void Fill(QByteArray &field, int n) { field = "\x89PNG " + QByteArray::number(n); }
    static void Fill(CStyleRules &field, int n)
    {
        CStyleRule rule;
        rule.when = u"#ROW > %1"_s.arg(n);
        rule.color = quint32(n);
        rule.bold = 1;
        field = {rule};
    }
    static void Fill(CChartSeriesSettings &field, int n)
    {
        field = {{u"s%1"_s.arg(n), u"[v] * %1"_s.arg(n), std::nullopt},
                 {QString(), u"v%1"_s.arg(n), quint32(n)}};
    }
    template<typename T>
    static void Fill(T &field, int n)
    {
        field = T(n);
    }
    static QString Text(const QString &field) { return field; }
    static QString Text(const QByteArray &field) { return QString::fromLatin1(field.toHex()); }
    static QString Text(const CStyleRules &field)
    {
        QStringList rules;
        for (const CStyleRule &rule : field)
            rules.append(u"%1:%2:%3:%4:%5"_s.arg(rule.when)
                                 .arg(rule.color.value_or(~0u))
                                 .arg(rule.bkColor.value_or(~0u))
                                 .arg(rule.bold.value_or(-1))
                                 .arg(rule.italic.value_or(-1)));
        return rules.join(u'|');
    }
    static QString Text(const CChartSeriesSettings &field)
    {
        QStringList series;
        for (const CChartSeriesSetting &one : field)
            series.append(u"%1:%2:%3"_s.arg(one.name, one.value).arg(one.color.value_or(~0u)));
        return series.join(u'|');
    }
    template<typename T>
    static QString Text(const T &field)
    {
        return QString::number(field);
    }

    int m_seed;
    int m_only;
    int m_index = 0;
};

CFieldProbe Probe(const CVornItem &item)
{
    CFieldProbe probe;
    // Without a seed the probe only reads.
    const_cast<CVornItem &>(item).VisitFields(probe);
    return probe;
}

// A report of one band holding one item of the kind, every field of it given a value.
struct CKindFixture
{
    explicit CKindFixture(int code)
    {
        auto *band = new CVornBand(VornKind::ReportContents, u"B"_s);
        band->SetHeight(5000);
        document.GetReport().GetBands().Add(band);
        std::unique_ptr<CVornItem> made = CreateItem(code);
        CFieldProbe fill(100);
        made->VisitFields(fill);
        item = made.get();
        band->GetItems().Add(made.release());
    }

    CVornDocument document;
    CVornItem *item = nullptr;
};

} // namespace

// Every registered item kind keeps each field it lists through the template file, the edit
// history, copies and resets: a field that one of them leaves out fails here.
class TestItemKinds : public QObject
{
    Q_OBJECT

private slots:
    void kinds_data()
    {
        QTest::addColumn<int>("code");
        for (const CItemKind &kind : ItemKinds())
            QTest::newRow(kind.look.name) << kind.code;
    }

    void templateKeepsEverySavedField_data() { kinds_data(); }
    void templateKeepsEverySavedField()
    {
        QFETCH(int, code);
        CKindFixture f(code);
        const QString written = VornTemplate::WriteReportXml(f.document.GetReport());
        const QByteArray bytes(reinterpret_cast<const char *>(written.utf16()), written.size() * 2);
        CVornReport back;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(back, bytes, message), qPrintable(message));
        const CVornItem &read = *back.GetBands()[0]->GetItems()[0];
        QCOMPARE(read.GetKind(), code);
        QCOMPARE(Probe(read).saved, Probe(*f.item).saved);
    }

    // A file written by hand or by another tool may hold an item's children in another order
    // and letter case: here the first child moves to the end and the names are upper case.
    void templateReadsChildrenInAnyOrder_data() { kinds_data(); }
    void templateReadsChildrenInAnyOrder()
    {
        QFETCH(int, code);
        CKindFixture f(code);
        QString written = VornTemplate::WriteReportXml(f.document.GetReport());
        const qsizetype start = written.indexOf(u"\r\n"_s, written.indexOf(u"<element"_s, 1)) + 2;
        const qsizetype firstEnd = written.indexOf(u"\r\n"_s, start) + 2;
        const QString first = written.mid(start, firstEnd - start);
        written.remove(start, first.size());
        written.insert(written.indexOf(u"</element>"_s, start), first.toUpper());
        written.replace(u"<font "_s, u"<FONT "_s);
        const QByteArray bytes(reinterpret_cast<const char *>(written.utf16()), written.size() * 2);
        CVornReport back;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(back, bytes, message), qPrintable(message));
        QCOMPARE(Probe(*back.GetBands()[0]->GetItems()[0]).saved, Probe(*f.item).saved);
    }

    void undoKeepsEveryField_data() { kinds_data(); }
    void undoKeepsEveryField()
    {
        QFETCH(int, code);
        CKindFixture f(code);
        const QStringList before = Probe(*f.item).all;
        for (int k = 0; k < before.size(); ++k) {
            CReportEdit step(f.document, u"Change"_s);
            step.WillChange(f.item);
            CFieldProbe change(500, k);
            f.item->VisitFields(change);
            const QStringList after = change.all;
            // An edit of any one field is a step of its own.
            QVERIFY2(step.Commit(), qPrintable(after.at(k)));
            f.document.GetUndoStack()->undo();
            QCOMPARE(Probe(*f.item).all, before);
            f.document.GetUndoStack()->redo();
            QCOMPARE(Probe(*f.item).all, after);
            f.document.GetUndoStack()->undo();
        }
    }

    void copiesAndResetsTakeEveryField_data() { kinds_data(); }
    void copiesAndResetsTakeEveryField()
    {
        QFETCH(int, code);
        CKindFixture f(code);
        f.item->SetSelected(true);
        const std::unique_ptr<CVornItem> clone = f.item->Clone();
        QCOMPARE(Probe(*clone).all, Probe(*f.item).all);
        QVERIFY(clone->IsSelected());
        clone->Reset();
        QCOMPARE(Probe(*clone).all, Probe(*CreateItem(code)).all);
        QVERIFY(!clone->IsSelected());
    }

    // The examples between them set every element the format knows. An item rebuilt from its
    // kind's field list (a clone, or a new item given the state the edit history keeps) writes
    // the same file, so a field the list forgets is lost here.
    void examplesKeepEveryElement_data()
    {
        QTest::addColumn<QString>("path");
        for (const QFileInfo &file :
             QDir(QStringLiteral(VANTEL_EXAMPLES_DIR)).entryInfoList({u"*.vnt"_s}, QDir::Files))
            QTest::newRow(qPrintable(file.fileName())) << file.filePath();
    }
    void examplesKeepEveryElement()
    {
        QFETCH(QString, path);
        CVornReport report;
        QString message;
        QVERIFY2(VornTemplate::Load(report, path, message), qPrintable(message));
        const QString written = VornTemplate::WriteReportXml(report);
        for (CVornBand *band : report.GetBands()) {
            auto &items = band->GetItems();
            for (int i = 0; i < items.GetCount(); ++i) {
                std::unique_ptr<CVornItem> copy = items[i]->Clone();
                delete items.RemoveAt(i);
                items.InsertAt(i, copy.release());
            }
        }
        QCOMPARE(VornTemplate::WriteReportXml(report), written);
        for (CVornBand *band : report.GetBands()) {
            auto &items = band->GetItems();
            for (int i = 0; i < items.GetCount(); ++i) {
                std::unique_ptr<CVornItem> fresh = CreateItem(items[i]->GetKind());
                ItemState::Assign(*fresh, *items[i]);
                delete items.RemoveAt(i);
                items.InsertAt(i, fresh.release());
            }
        }
        QCOMPARE(VornTemplate::WriteReportXml(report), written);
    }
};

VANTEL_TEST_CLASS(TestItemKinds)
#include "tst_itemkinds.moc"
