// Saving, loading and validating a large template, against the XML parser's
// own parse time and a plain write of the same bytes; and how the name and
// validation rules grow with the number of items.

#include "reportfile.h"
#include "vornitems.h"
#include "vornreport.h"
#include "xmlaccess.h"
#include "xmldocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds on the wall clock, or of processor time of this thread. On a
// machine shared with other work the wall clock also counts the time others
// had the processor, which may be most of it; work that waits for the disk
// needs it all the same.
enum class Clock { Wall, Thread };

double Now(Clock clock)
{
    timespec now {};
    clock_gettime(clock == Clock::Wall ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The best of several runs of each piece of work, in milliseconds. The pieces
// take turns, so that other work on the machine slows them alike, and the
// fastest run of each is the one least disturbed.
std::vector<double> MeasureInTurn(int runs, Clock clock,
                                  const std::vector<std::function<void()>> &works)
{
    std::vector<double> best(works.size(), 1e300);
    for (int i = 0; i < runs; ++i) {
        for (size_t k = 0; k < works.size(); ++k) {
            const double start = Now(clock);
            works[k]();
            best[k] = std::min(best[k], Now(clock) - start);
        }
    }
    return best;
}

double Measure(int runs, const std::function<void()> &work)
{
    return MeasureInTurn(runs, Clock::Wall, {work})[0];
}

// bands x itemsPerBand items of every kind; images get imageBytes in all.
void BuildReport(CVornReport &report, int bands, int itemsPerBand, int images, int imageBytes)
{
    QRandomGenerator random(42);
    int imagesLeft = images;
    for (int b = 0; b < bands; ++b) {
        auto *band = new CVornBand(b == 0 ? VornKind::PageHeader : VornKind::ReportContents,
                                   QStringLiteral("Band %1").arg(b));
        band->SetHeight(2000);
        band->SetDatabaseQuery(QStringLiteral("SELECT Code, Name, Price\nFROM Items\n"
                                              "WHERE Group = {GROUP_%1} AND Price > 10")
                                       .arg(b));
        report.GetBands().Add(band);
        for (int i = 0; i < itemsPerBand; ++i) {
            const int kinds[] = {VornKind::Text,    VornKind::DbText,    VornKind::Shape,
                                 VornKind::Barcode, VornKind::DbBarcode, VornKind::DbImage};
            int kind = kinds[i % 6];
            if (i == 0 && imagesLeft > 0) {
                kind = VornKind::Image;
                --imagesLeft;
            }
            std::unique_ptr<CVornItem> item = CreateItem(kind);
            item->SetName(QStringLiteral("Item %1").arg(i));
            item->SetRect(100 * (i % 20), 0, 100 * (i % 20) + 900, 500);
            item->SetColor(0x00FF8040);
            if (kind == VornKind::Text)
                static_cast<CVornText *>(item.get())->SetText(QStringLiteral("Total & \"sum\""));
            if (kind == VornKind::DbText) {
                auto *text = static_cast<CVornDbText *>(item.get());
                text->SetDataSource(band->GetName());
                text->SetDataField(QStringLiteral("PRICE"));
                text->SetFormat(QStringLiteral("%.2f"));
            }
            if (kind == VornKind::Barcode)
                static_cast<CVornBarcode *>(item.get())
                        ->SetBarcode(QStringLiteral("2000000000015"));
            if (kind == VornKind::Image) {
                QByteArray bytes(imageBytes / images, Qt::Uninitialized);
                for (char &c : bytes)
                    c = char(random.bounded(256));
                static_cast<CVornImage *>(item.get())->SetImageData(bytes);
            }
            band->GetItems().Add(item.release());
        }
    }
}

void PlainWrite(const QString &path, const QByteArray &bytes, bool sync)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    if (sync)
        ::fsync(fd);
    ::close(fd);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.vnt"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.vnt"));

    CVornReport report;
    BuildReport(report, 200, 50, 20, 2 * 1024 * 1024);
    QString message;
    if (!VornTemplate::Save(report, path, message)) {
        std::printf("save failed: %s\n", qPrintable(message));
        return 1;
    }
    const QByteArray bytes = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    std::printf("Template of 200 bands and 10,000 items with 2 MB of image bytes: %.1f MB\n\n",
                double(bytes.size()) / (1024.0 * 1024.0));

    // "--write FILE" keeps a copy of the benchmark's template for other tools.
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0)
        return VornTemplate::Save(report, QString::fromLocal8Bit(argv[2]), message) ? 0 : 1;

    // "--load N" only loads the file N times, for a profiler.
    if (argc == 3 && qstrcmp(argv[1], "--load") == 0) {
        for (int i = 0; i < atoi(argv[2]); ++i) {
            CVornReport loaded;
            VornTemplate::Load(loaded, path, message);
        }
        return 0;
    }

    const int runs = 11;
    const std::vector<double> saving
            = MeasureInTurn(runs, Clock::Wall,
                            {
                                    [&] { VornTemplate::Save(report, path, message); },
                                    [&] { (void)VornTemplate::WriteReportXml(report); },
                                    [&] { PlainWrite(plainPath, bytes, false); },
                                    [&] { PlainWrite(plainPath, bytes, true); },
                            });
    const double save = saving[0];
    const double build = saving[1];
    const double plain = saving[2];
    const double plainSync = saving[3];
    // The parser's time for the same text in UTF-8, which it reads without converting: how
    // much of its parse of the file is the conversion from UTF-16.
    const QByteArray utf8
            = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                 bytes.size() / 2)
                      .toUtf8();
    // Like the parser's document, each loaded report is freed within its run. Loading reads
    // the file from the page cache: processor time is all of it.
    const std::vector<double> loading = MeasureInTurn(
            runs, Clock::Thread,
            {
                    [&] {
                        CVornReport loaded;
                        QString loadMessage;
                        if (!VornTemplate::Load(loaded, path, loadMessage))
                            std::printf("load failed: %s\n", qPrintable(loadMessage));
                    },
                    [&] {
                        CXmlDocument document;
                        QString loadMessage;
                        (void)LoadXmlFile(path, document, loadMessage);
                    },
                    [&] {
                        pugi::xml_document document;
                        document.load_file(QFile::encodeName(path).constData());
                    },
                    [&] {
                        pugi::xml_document document;
                        document.load_buffer(utf8.constData(), size_t(utf8.size()));
                    },
            });
    const double load = loading[0];
    const double xml = loading[1];
    const double parse = loading[2];
    const double parseUtf8 = loading[3];

    std::printf("save (text built, written, flushed to disk, renamed): %8.1f ms\n", save);
    std::printf("  of which building the text:                         %8.1f ms\n", build);
    std::printf("plain write of the same bytes:                         %8.1f ms\n", plain);
    std::printf("plain write of the same bytes, flushed to disk:        %8.1f ms\n", plainSync);
    std::printf("  save / plain write:                 %5.2f\n", save / plain);
    std::printf("  save / plain write flushed to disk: %5.2f   (target: at most 3)\n\n",
                save / plainSync);
    std::printf("Loading, in processor time:\n");
    std::printf("load and validate:                                     %8.1f ms\n", load);
    std::printf("  of which reading and checking the XML:               %8.1f ms\n", xml);
    std::printf("pugixml parse of the same file:                        %8.1f ms\n", parse);
    std::printf("  of the same text in UTF-8, from memory:              %8.1f ms\n", parseUtf8);
    std::printf("  reading and checking the XML / parse: %5.2f\n", xml / parse);
    std::printf("  load and validate / parse:          %5.2f   (target: at most 2)\n\n",
                load / parse);

    // Growth of the name and validation rules with the number of items.
    for (const int items : {1000, 10000}) {
        CVornReport sized;
        BuildReport(sized, items / 50, 50, 0, 0);
        const double unique = Measure(runs, [&] { (void)sized.MakeUniqueName(VornKind::Text); });
        // The last item of the last band, with a name of its own: the longest search for
        // its band.
        CVornBand *lastBand = sized.GetBands()[sized.GetBands().GetCount() - 1];
        CVornItem *last = lastBand->GetItems()[lastBand->GetItems().GetCount() - 1];
        last->SetName(QStringLiteral("The last item"));
        const double nameCheck
                = Measure(runs, [&] { (void)sized.IsNameUnique(last, QStringLiteral("Item 0")); });
        const double validate = Measure(runs, [&] {
            QString validateMessage;
            (void)sized.Validate(validateMessage);
        });
        std::printf(
                "%6d items: MakeUniqueName %8.1f us, IsNameUnique %8.1f us, Validate %8.1f us\n",
                items, unique * 1000, nameCheck * 1000, validate * 1000);
    }
    return 0;
}
