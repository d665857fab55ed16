#include "pagemodel.h"
#include "pagewriter.h"
#include "pdfbatch.h"
#include "pdfcontent.h"
#include "pdfflate.h"
#include "pdfsplit.h"
#include "pdfwriter.h"
#include "reportfile.h"
#include "reportrun.h"
#include "testregistry.h"
#include "vornreport.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Names F7 and Im9 renamed F1 and Im2, glyphs of font F7 numbered anew in the order shown.
struct CNames final : IPdfContentNames
{
    std::map<int, int> glyphs;
    bool selected = false;

    bool Rename(const QByteArray &name, QByteArray &renamed) override
    {
        if (name == "Bad")
            return false;
        renamed = name == "F7" ? "F1"_ba : name == "Im9" ? "Im2"_ba : QByteArray();
        return true;
    }
    bool SelectFont(const QByteArray &name) override { return selected = name == "F7"; }
    int Renumber(int glyph) override
    {
        return glyphs.emplace(glyph, int(glyphs.size()) + 1).first->second;
    }
};

// The example invoices, each laid out on its own and all drawn into one PDF as a batch draws
// its rows (see CPdfPageWriter::SetSeparatePages), its streams compressed or stored; the page
// ranges of each in first.
QByteArray Invoices(const QStringList &numbers, bool pdfa, std::vector<int> &first,
                    bool stored = false)
{
    std::optional<CStoredPdfStreams> storing;
    if (stored)
        storing.emplace();
    const QDir examples(QStringLiteral(VANTEL_EXAMPLES_DIR));
    CVornReport report;
    QString message;
    if (!VornTemplate::Load(report, examples.filePath(u"invoice.vnt"_s), message))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CPdfPageWriter writer(buffer, {report.GetPageWidth(), report.GetPageHeight()}, u"Invoice"_s,
                          pdfa);
    writer.SetSeparatePages();
    int drawn = 1;
    for (const QString &number : numbers) {
        CRunOptions options;
        options.reportFolder = examples.path();
        options.parameter = [&number](const QString &, const QString &) {
            return number;
        };
        CPageModel model;
        if (!RunReport(report, options, model, message))
            return {};
        first.push_back(drawn);
        for (int i = 0; i < model.GetPageCount(); ++i, ++drawn) {
            if (!writer.Write(*model.GetPage(i), i + 1, model.GetPageCount()))
                return {};
        }
    }
    first.push_back(drawn);
    return writer.End() ? buffer.data() : QByteArray();
}

QString PdfText(const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"p.pdf"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess tool;
    tool.start(u"pdftotext"_s, {file.fileName(), u"-"_s});
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Cutting a document of many rows into a PDF per row: the drawing instructions rewritten for
// the piece, and a piece equal to the one cut from a document of its row alone.
class TestPdfSplit : public QObject
{
    Q_OBJECT

private slots:
    void rewritesContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected"); // empty: refused
        QTest::newRow("names and glyphs")
                << "q /Im9 Do Q BT /F7 167 Tf 0 0 Td <0005> Tj 9 0 Td <0003 0005> Tj ET"_ba
                << "q /Im2 Do Q BT /F1 167 Tf 0 0 Td <0001> Tj 9 0 Td <00020001> Tj ET"_ba;
        QTest::newRow("a glyph array and the other show operators")
                << "BT /F7 9 Tf [<0009> 120 <0004>] TJ <0004> ' 1 2 <0009> \" ET"_ba
                << "BT /F1 9 Tf [<0001> 120 <0002>] TJ <0002> ' 1 2 <0001> \" ET"_ba;
        QTest::newRow("other hex strings stay") << "/Span << /ActualText <> >> BDC EMC"_ba
                                                << "/Span << /ActualText <> >> BDC EMC"_ba;
        QTest::newRow("literal text is refused") << "BT /F7 9 Tf (abc) Tj ET"_ba << QByteArray();
        QTest::newRow("a font that cannot be renumbered")
                << "BT /F3 9 Tf <0001> Tj ET"_ba << QByteArray();
        QTest::newRow("a glyph string cut short") << "BT /F7 9 Tf <000> Tj ET"_ba << QByteArray();
        QTest::newRow("inline pictures") << "BI /W 1 /H 1 ID x EI"_ba << QByteArray();
        QTest::newRow("a name refused") << "/Bad gs"_ba << QByteArray();
    }
    void rewritesContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);
        CNames names;
        QByteArray out;
        QCOMPARE(RewritePdfContent(content, names, out), !expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE(out, expected);
    }

    // A batch draws its documents with their streams stored (see CStoredPdfStreams): the pieces
    // are the same, the picture masks compressed by the cut.
    void aPieceIsItsPagesAlone_data()
    {
        QTest::addColumn<bool>("pdfa");
        QTest::addColumn<bool>("stored");
        QTest::newRow("PDF") << false << false;
        QTest::newRow("PDF/A") << true << false;
        QTest::newRow("PDF drawn stored") << false << true;
        QTest::newRow("PDF/A drawn stored") << true << true;
    }
    void aPieceIsItsPagesAlone()
    {
        QFETCH(bool, pdfa);
        QFETCH(bool, stored);
        std::vector<int> first;
        std::vector<int> firstAlone;
        CPdfSplitter many;
        CPdfSplitter alone;
        const QByteArray document
                = Invoices({u"1038"_s, u"1045"_s, u"1042"_s}, pdfa, first, stored);
        const qsizetype stream = document.indexOf("stream\n", document.indexOf("/FlateDecode"));
        QCOMPARE(IsStoredFlate(document.mid(stream + 7, 3)), stored);
        QVERIFY(many.Load(document));
        QVERIFY(alone.Load(Invoices({u"1045"_s}, pdfa, firstAlone)));
        QCOMPARE(many.GetPageCount(), first.back() + 1);
        // The second invoice, of two pages, cut from both.
        const int pages = first[2] - first[1];
        QCOMPARE(pages, 2);
        QByteArray fromMany;
        QByteArray fromAlone;
        QVERIFY(many.Extract(first[1], pages, fromMany));
        QVERIFY(alone.Extract(firstAlone[0], pages, fromAlone));
        // The documents may have been made a second apart: their dates and IDs aside, the same.
        static const QRegularExpression dates(
                u"D:[0-9]{14}|\\d{4}-\\d\\d-\\d\\dT[0-9:]{8}|<[0-9a-f]{32}>"_s);
        QString a = QString::fromLatin1(fromMany);
        QString b = QString::fromLatin1(fromAlone);
        QCOMPARE(a.replace(dates, QString()), b.replace(dates, QString()));
        const QString text = PdfText(fromMany);
        QVERIFY2(text.contains(u"1045"_s) && !text.contains(u"1038"_s) && !text.contains(u"1042"_s),
                 qPrintable(text));

        QVERIFY(!many.Extract(first.back(), 2, fromMany));
        QVERIFY(!many.Extract(-1, 1, fromMany));
        QVERIFY(!alone.Load("%PDF-1.4\nno objects\n"_ba));
    }

    // A batch draws and writes the files of two documents while the next rows come: each file is
    // told once, in order, when a flush finds two documents under way (or the wait) and its own
    // is the oldest.
    void batchTellsEachFileAfterItIsWritten()
    {
        const QDir examples(QStringLiteral(VANTEL_EXAMPLES_DIR));
        CVornReport report;
        QString message;
        QVERIFY(VornTemplate::Load(report, examples.filePath(u"invoice.vnt"_s), message));
        QTemporaryDir dir;
        CPdfBatch batch(u"Invoice"_s, false);
        QStringList told;
        const auto done = [&](int id, const QString &problem) {
            const QString path = dir.filePath(u"%1.pdf"_s.arg(id));
            told << (problem.isEmpty() && QFile::exists(path) ? PdfText(ReadAll(path)) : problem);
        };
        const QStringList numbers {u"1038"_s, u"1045"_s, u"1042"_s};
        for (int id = 0; id < int(numbers.size()); ++id) {
            CPageModel model;
            CRunOptions options;
            options.reportFolder = examples.path();
            options.parameter = [&](const QString &, const QString &) {
                return numbers[id];
            };
            QVERIFY2(RunReport(report, options, model, message), qPrintable(message));
            if (id == 1) {
                // A row that fails after its first page leaves no file and no page behind.
                const std::unique_ptr<CPageWriter> failed
                        = batch.CreateWriter(dir.filePath(u"failed.pdf"_s), 99);
                QVERIFY(failed->Begin(model.GetPageSize(), message));
                QVERIFY(failed->WritePage(*model.GetPage(0), 1, 1, message));
            }
            const std::unique_ptr<CPageWriter> writer
                    = batch.CreateWriter(dir.filePath(u"%1.pdf"_s.arg(id)), id);
            QVERIFY(writer->Begin(model.GetPageSize(), message));
            for (int i = 0; i < model.GetPageCount(); ++i)
                QVERIFY(writer->WritePage(*model.GetPage(i), i + 1, model.GetPageCount(), message));
            QVERIFY(writer->Finish(message));
            batch.Flush(done);
            QCOMPARE(told.size(), id == 2 ? 1 : 0);
        }
        batch.Wait(done);
        QCOMPARE(told.size(), 3);
        QVERIFY(!QFile::exists(dir.filePath(u"failed.pdf"_s)));
        for (int id = 0; id < 3; ++id) {
            QVERIFY2(told[id].contains(numbers[id]), qPrintable(told[id]));
            QVERIFY(!told[id].contains(numbers[(id + 1) % 3]));
        }
    }
};

VANTEL_TEST_CLASS(TestPdfSplit)
#include "tst_pdfsplit.moc"
