#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Batch
{
    int exitCode = -1;
    QList<QJsonObject> rows; // the manifest
    QString err;
};

// Runs vantel-render on the example invoice, with SOURCE_DATE_EPOCH when epoch is given.
Batch RunBatch(const QStringList &arguments, const QString &epoch = {})
{
    QProcess process;
    if (!epoch.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SOURCE_DATE_EPOCH"_s, epoch);
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(VANTEL_RENDER_PATH),
                  QStringList {QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt")} + arguments);
    if (!process.waitForFinished(120000))
        return {};
    Batch batch {process.exitCode(), {}, QString::fromUtf8(process.readAllStandardError())};
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            batch.rows.append(QJsonDocument::fromJson(line).object());
    }
    return batch;
}

// "row:status" for each line of the manifest.
QStringList Statuses(const Batch &batch)
{
    QStringList statuses;
    for (const QJsonObject &row : batch.rows)
        statuses << u"%1:%2"_s.arg(row[u"row"_s].toInt()).arg(row[u"status"_s].toString());
    return statuses;
}

QString PdfText(const QString &path)
{
    QProcess process;
    process.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages of a PDF as pdftoppm draws them at a low resolution.
QList<QImage> Raster(const QString &path)
{
    QTemporaryDir dir;
    QProcess::execute(u"pdftoppm"_s, {u"-r"_s, u"40"_s, u"-png"_s, path, dir.filePath(u"p"_s)});
    QList<QImage> pages;
    for (const QString &name : QDir(dir.path()).entryList({u"*.png"_s}, QDir::Files, QDir::Name))
        pages << QImage(dir.filePath(name));
    return pages;
}

const QString invoices = u"SELECT InvoiceNo AS INVOICE_NO FROM Invoices ORDER BY InvoiceNo"_s;

} // namespace

// A file per row of a list with vantel-render --each, as a month-end run uses it: the example
// invoice over the example shop's database.
class TestBatchCommand : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void aFilePerRowWithItsOwnValues()
    {
        // The folders named by the rows are made.
        const QString pattern = m_dir.filePath(u"all/{Invoice_No}/invoice-{Invoice_No}.pdf"_s);
        const Batch batch = RunBatch({u"--each"_s, invoices, u"-o"_s, pattern});
        QCOMPARE(batch.err, QString());
        QCOMPARE(batch.exitCode, 0);
        QCOMPARE(batch.rows.size(), 8);
        for (const QJsonObject &row : batch.rows) {
            QCOMPARE(row[u"status"_s].toString(), u"ok"_s);
            QVERIFY(row[u"pages"_s].toInt() >= 1);
            QVERIFY(row.contains(u"ms"_s));
            QVERIFY(QFile::exists(row[u"file"_s].toString()));
        }
        const QString first = PdfText(m_dir.filePath(u"all/1038/invoice-1038.pdf"_s));
        QVERIFY2(first.contains(u"1038"_s) && !first.contains(u"1042"_s), qPrintable(first));
    }

    // A column "BAND/NAME" binds that band's entry only; a plain column every band's.
    void bandColumnsBindOneBand()
    {
        const QString list = m_dir.filePath(u"bands.csv"_s);
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("INVOICE_NO,Totals/INVOICE_NO\n1038,1040\n");
        file.close();
        const Batch batch = RunBatch(
                {u"--each-file"_s, list, u"-o"_s, m_dir.filePath(u"b-{invoice_no}.pdf"_s)});
        QCOMPARE(Statuses(batch), QStringList {u"0:ok"_s});
        const QString text = PdfText(m_dir.filePath(u"b-1038.pdf"_s));
        QVERIFY2(text.contains(u"1038"_s) && text.contains(u"10403"_s), qPrintable(text));

        file.open(QIODevice::WriteOnly);
        file.write("INVOICE_NO,Totals/NO_SUCH\n1038,1040\n");
        file.close();
        const Batch refused = RunBatch(
                {u"--each-file"_s, list, u"-o"_s, m_dir.filePath(u"c-{invoice_no}.pdf"_s)});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err.trimmed(),
                 u"A column of the list: The report has no parameter Totals/NO_SUCH"_s);
    }

    // A file per row is cut from a document drawn for many rows: it must be the file its row
    // alone gives, byte for byte, and show what a run of that invoice alone shows.
    void aFileIsItsRowAlone_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("PDF") << QStringList();
        QTest::newRow("PDF/A") << QStringList {u"--pdfa"_s};
    }
    void aFileIsItsRowAlone()
    {
        QFETCH(QStringList, options);
        const QString epoch = u"1700000000"_s;
        QTemporaryDir many;
        QTemporaryDir one;
        QCOMPARE(RunBatch(QStringList {u"--each"_s, invoices, u"-o"_s,
                                       many.filePath(u"i-{INVOICE_NO}.pdf"_s)}
                                  + options,
                          epoch)
                         .exitCode,
                 0);
        QCOMPARE(RunBatch(QStringList {u"--each"_s,
                                       u"SELECT InvoiceNo AS INVOICE_NO FROM Invoices "
                                       "WHERE InvoiceNo = 1042"_s,
                                       u"-o"_s, one.filePath(u"i-{INVOICE_NO}.pdf"_s)}
                                  + options,
                          epoch)
                         .exitCode,
                 0);
        const QByteArray cut = Bytes(many.filePath(u"i-1042.pdf"_s));
        QVERIFY(cut.startsWith("%PDF-"));
        QVERIFY(cut == Bytes(one.filePath(u"i-1042.pdf"_s)));
        QCOMPARE(cut.contains("pdfaid:part=\"1\""), !options.isEmpty());

        const QString single = one.filePath(u"single.pdf"_s);
        QCOMPARE(RunBatch(QStringList {u"-o"_s, single, u"--param"_s,
                                       u"Invoice Header/INVOICE_NO=1042"_s, u"--param"_s,
                                       u"Totals/INVOICE_NO=1042"_s}
                          + options)
                         .exitCode,
                 0);
        const QString text = PdfText(many.filePath(u"i-1042.pdf"_s));
        QVERIFY2(text.contains(u"1042"_s) && !text.contains(u"1041"_s), qPrintable(text));
        QCOMPARE(text, PdfText(single));
        const QList<QImage> pages = Raster(many.filePath(u"i-1042.pdf"_s));
        QVERIFY(!pages.isEmpty());
        QVERIFY(pages == Raster(single));
    }

    // Rows that fail in the middle of the list fail alone; the others are written, and a
    // re-run with --skip-existing does only what is missing. A PDF's manifest line waits for
    // its file, which is cut from the rows' document, without changing the order.
    void failuresInTheMiddleAndReRuns_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("CSV") << u"csv"_s;
        QTest::newRow("PDF") << u"pdf"_s;
    }
    void failuresInTheMiddleAndReRuns()
    {
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString list = dir.filePath(u"mixed.csv"_s);
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("INVOICE_NO\n1038\n1039\n1040\n1038\n\n\"\"\n");
        file.close();
        const QString pattern = dir.filePath(u"m-{INVOICE_NO}."_s + suffix);
        // The target of the second row is a folder.
        QVERIFY(QDir().mkpath(dir.filePath(u"m-1039."_s + suffix)));
        Batch batch = RunBatch({u"--each-file"_s, list, u"-o"_s, pattern});
        QCOMPARE(batch.exitCode, 1);
        QCOMPARE(Statuses(batch),
                 QStringList({u"0:ok"_s, u"1:error"_s, u"2:ok"_s, u"3:error"_s, u"4:error"_s}));
        QVERIFY(batch.rows[3][u"message"_s].toString().startsWith(u"An earlier row"_s));
        QVERIFY(QFile::exists(dir.filePath(u"m-1040."_s + suffix)));

        QVERIFY(QDir().rmdir(dir.filePath(u"m-1039."_s + suffix)));
        QFile kept(dir.filePath(u"m-1038."_s + suffix));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("kept");
        kept.close();
        batch = RunBatch({u"--each-file"_s, list, u"-o"_s, pattern, u"--skip-existing"_s});
        QCOMPARE(Statuses(batch),
                 QStringList(
                         {u"0:skipped"_s, u"1:ok"_s, u"2:skipped"_s, u"3:error"_s, u"4:error"_s}));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), "kept"_ba);
    }

    // N processes with --shard 0/N .. N-1/N write every file once, also for a list shorter
    // than N.
    void shardsTakeEveryRowOnce()
    {
        for (const int limit : {8, 3}) {
            for (int shards = 1; shards <= 5; ++shards) {
                QTemporaryDir out;
                QList<int> rows;
                for (int shard = 0; shard < shards; ++shard) {
                    const Batch batch = RunBatch({u"--each"_s, invoices + u" LIMIT %1"_s.arg(limit),
                                                  u"--shard"_s, u"%1/%2"_s.arg(shard).arg(shards),
                                                  u"-o"_s, out.filePath(u"s-{INVOICE_NO}.csv"_s)});
                    QCOMPARE(batch.exitCode, 0);
                    for (const QJsonObject &row : batch.rows)
                        rows << row[u"row"_s].toInt();
                }
                std::sort(rows.begin(), rows.end());
                QList<int> all(limit);
                std::iota(all.begin(), all.end(), 0);
                QCOMPARE(rows, all);
                QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), limit);
            }
        }
    }

    void refusedBeforeAnyRow_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown column")
                << invoices << u"x-{NUMBER}.pdf"_s
                << u"The output name holds {NUMBER}, which is no column of the list "
                   "(INVOICE_NO)"_s;
        QTest::newRow("no column")
                << invoices << u"x.pdf"_s << u"The output name needs a {COLUMN} of the list"_s;
        QTest::newRow("a list that writes")
                << u"DELETE FROM Invoices"_s << u"x-{A}.pdf"_s << u"The list query failed: "_s;
    }
    void refusedBeforeAnyRow()
    {
        QFETCH(QString, list);
        QFETCH(QString, output);
        QFETCH(QString, message);
        const Batch batch = RunBatch({u"--each"_s, list, u"-o"_s, m_dir.filePath(output)});
        QCOMPARE(batch.exitCode, 1);
        QVERIFY(batch.rows.isEmpty());
        QVERIFY2(batch.err.startsWith(message), qPrintable(batch.err));
    }

private:
    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestBatchCommand)
#include "tst_batchcommand.moc"
