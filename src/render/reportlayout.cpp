#include "reportlayout.h"

#include "bandreferences.h"
#include "pagemodel.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <condition_variable>
#include <mutex>
#include <thread>

QString CReportLayout::Tr(const char *text)
{
    return QCoreApplication::translate("RunReport", text);
}

CReportLayout::CReportLayout(const CVornReport &report, const CRunOptions &options, CPageSink &sink)
    : m_report(report)
    , m_options(options)
    , m_sink(sink)
    , m_fonts(std::make_shared<CPageFontTable>())
{ }

bool CReportLayout::Fail(const QString &message)
{
    if (m_message.isEmpty())
        m_message = message;
    return false;
}

void CReportLayout::At(const CVornBand &band, int item)
{
    // After a failure the place stays where the run failed.
    if (m_message.isEmpty())
        m_at = {m_bandIndex.count(&band) ? m_bandIndex.at(&band) : -1, item};
}

bool CReportLayout::Cancelled()
{
    if (m_options.cancel && m_options.cancel->load()) {
        Fail(Tr("Cancelled"));
        return true;
    }
    return false;
}

bool CReportLayout::Run(QString &message)
{
    std::mutex mutex;
    std::condition_variable wake;
    bool finished = false;
    std::thread watcher;
    const bool done = [&] {
        if (!Prepare())
            return false;
        if (m_options.cancel && m_connection) {
            // A query that runs long is stopped in the driver, not only between rows.
            watcher = std::thread([&] {
                std::unique_lock lock(mutex);
                while (!finished && !m_options.cancel->load())
                    wake.wait_for(lock, std::chrono::milliseconds(20));
                if (!finished)
                    m_connection->Cancel();
            });
        }
        // Report headers open the body and report footers close it, whatever their place in
        // the list; the other bands follow in list order.
        for (const int kind : {int(VornKind::ReportHeader), 0, int(VornKind::ReportFooter)}) {
            for (const CVornBand *band : m_report.GetBands()) {
                const bool edge = band->GetKind() == VornKind::ReportHeader
                        || band->GetKind() == VornKind::ReportFooter;
                if (IsPageBand(*band) || !m_plans[band].printedAlone
                    || (kind == 0 ? edge : band->GetKind() != kind))
                    continue;
                if (!PrintBand(*band, nullptr))
                    return false;
            }
        }
        if (!m_pages->Finish())
            return false;
        QString problem;
        return m_sink.Finish(m_pages->GetPageCount(), problem) || Fail(problem);
    }();
    if (watcher.joinable()) {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        wake.notify_all();
        watcher.join();
    }
    if (!done && m_options.cancel && m_options.cancel->load())
        m_message = Tr("Cancelled");
    // The connection is closed on the thread that opened it, before the run reports back.
    m_connection = nullptr;
    m_ownConnection.reset();
    if (!done && m_message.isEmpty() && m_pages) {
        // A sink that wants no more pages ends the run early, not as a failure.
        if (m_pages->IsStopped())
            return true;
        m_message = m_pages->GetMessage();
    }
    if (!done) {
        message = m_message.isEmpty() ? Tr("The report could not be run") : m_message;
        return false;
    }
    return true;
}

bool CReportLayout::Place(const CVornBand &band, const Context *outer, const CDataRow *row)
{
    BandPlan &plan = m_plans[&band];
    const CBandPaging &paging = band.GetPaging();
    m_placing = &band;
    m_placingContext = outer;
    m_placingRow = row;
    // A band that does not print takes no space, and its row counts in no total.
    bool print = true;
    if (ExprPlan *when = m_plans[&band].printWhen) {
        At(band);
        if (!Condition(*when, print) || !print) {
            m_placing = nullptr;
            m_placingContext = nullptr;
            m_placingRow = nullptr;
            return m_message.isEmpty();
        }
    }
    // The page rules of a band that prints.
    if (paging.resetPageNumber != 0 && !m_pages->RestartNumbering())
        return false;
    if (paging.newPage == CBandPaging::NewPageBefore && !m_pages->Break())
        return false;
    if (!plan.skipped) {
        plan.skipped = true;
        const int skip = m_options.skipLabels >= 0 ? m_options.skipLabels : paging.skipLabels;
        if (skip > 0 && plan.placing.columns > 1
            && !m_pages->Skip(std::min(skip, 10000), band.GetEffectiveHeight(), plan.placing))
            return false;
    }
    CBandContent content;
    bool placed = LayBand(band, true, content);
    m_placingRow = nullptr;
    // The band's row counts in the totals on the page where the band starts, which may be
    // known only after the next bands: the row is kept with it.
    const bool hasRow = row != nullptr;
    placed = placed
            && m_pages->Place(
                    std::move(content),
                    [this, &band, hasRow, kept = hasRow ? *row : CDataRow()] {
                        return TakeRow(band, hasRow ? &kept : nullptr);
                    },
                    plan.placing);
    m_placing = nullptr;
    m_placingContext = nullptr;
    return placed;
}

bool CReportLayout::PrintOnce(const CVornBand &band, const CDataRow *row, const Context *outer)
{
    const CBandPaging &paging = band.GetPaging();
    // A group header keeps its whole group together (PrintGroup).
    const bool keep = paging.keepTogether != 0 && !m_plans[&band].isGroupHeader;
    if (keep)
        m_pages->BeginKeep();
    if (!Place(band, outer, row) || !PrintDetails(band, row, outer))
        return false;
    if (keep && !m_pages->EndKeep())
        return false;
    if (paging.newPage == CBandPaging::NewPageAfter)
        m_pages->BreakAfter();
    return true;
}

bool CReportLayout::PrintBand(const CVornBand &band, const Context *outer)
{
    At(band);
    if (band.GetKind() == VornKind::PageBreak)
        return m_pages->Break();
    const BandPlan &plan = m_plans[&band];
    if (plan.groupHeader)
        return PrintGroup(band, outer);
    if (m_noDatabase || !HasQuery(band.GetDatabaseQuery()))
        return PrintOnce(band, nullptr, outer);
    std::unique_ptr<CDataCursor> cursor = Query(band, band.GetDatabaseQuery(), outer, {});
    if (!cursor)
        return false;
    CDataRow row;
    m_rowNumbers[&band] = 0;
    if (band.GetKind() == VornKind::ReportHeader || band.GetKind() == VornKind::ReportFooter) {
        // Printed once: with the first row, or with empty fields when there is none.
        if (!Fetch(*cursor, row, band)) {
            if (!m_message.isEmpty())
                return false;
            row = CDataRow();
        }
        return PrintRow(band, row, outer);
    }
    qint64 fetched = 0;
    while (FetchNext(*cursor, row, band, fetched)) {
        if (!PrintRow(band, row, outer))
            return false;
    }
    return m_message.isEmpty();
}

bool CReportLayout::PrintRow(const CVornBand &band, const CDataRow &row, const Context *outer)
{
    m_current[&band] = row;
    ++m_rowNumbers[&band];
    return PrintOnce(band, &row, outer);
}

bool CReportLayout::PrintDetails(const CVornBand &band, const CDataRow *row, const Context *outer)
{
    const Context context {&band, row, outer};
    for (const CVornBand *detail : m_plans[&band].details) {
        if (!PrintBand(*detail, &context))
            return false;
    }
    return true;
}

QVariantList CReportLayout::GroupKey(const CVornBand &header, const CVornBand &detail,
                                     const CDataRow &row)
{
    QVariantList key;
    for (const ItemPlan &plan : m_plans[&header].items) {
        // A total in the header changes with every row; it starts no group.
        if (plan.source != &detail || plan.aggregate)
            continue;
        QString field;
        if (const auto *dbText = dynamic_cast<const CVornDbText *>(plan.item))
            field = dbText->GetQuery().trimmed().isEmpty() ? dbText->GetDataField() : QString();
        else if (const auto *dbImage = dynamic_cast<const CVornDbImage *>(plan.item))
            field = dbImage->GetDataField();
        else if (const auto *dbBarcode = dynamic_cast<const CVornDbBarcode *>(plan.item))
            field = dbBarcode->GetDataField();
        if (!field.isEmpty())
            key.append(row.Value(field));
    }
    return key;
}

bool CReportLayout::PrintGroup(const CVornBand &detail, const Context *outer)
{
    const BandPlan &plan = m_plans[&detail];
    const CVornBand &header = *plan.groupHeader;
    const CVornBand *footer = plan.groupFooter;
    const auto printFooter = [&](const Context *context) {
        return !footer || PrintOnce(*footer, nullptr, context);
    };
    // A header that keeps its group together keeps it from the header to the footer.
    const bool keep = header.GetPaging().keepTogether != 0;
    const auto openGroup = [&] {
        if (keep)
            m_pages->BeginKeep();
    };
    const auto closeGroup = [&] {
        m_pages->EndRepeat(m_bandIndex[&header]);
        return !keep || m_pages->EndKeep();
    };
    const auto printDetail = [&](const Context *context) -> bool {
        if (m_noDatabase || !HasQuery(detail.GetDatabaseQuery()))
            return PrintOnce(detail, nullptr, context);
        std::unique_ptr<CDataCursor> cursor = Query(detail, detail.GetDatabaseQuery(), context, {});
        if (!cursor)
            return false;
        CDataRow row;
        m_rowNumbers[&detail] = 0;
        qint64 fetched = 0;
        while (FetchNext(*cursor, row, detail, fetched)) {
            if (!PrintRow(detail, row, context))
                return false;
        }
        return m_message.isEmpty();
    };

    if (!m_noDatabase && HasQuery(header.GetDatabaseQuery())) {
        // Each row of the header's own query is a group; the detail's query runs for it.
        std::unique_ptr<CDataCursor> cursor = Query(header, header.GetDatabaseQuery(), outer, {});
        if (!cursor)
            return false;
        CDataRow row;
        qint64 fetched = 0;
        m_rowNumbers[&header] = 0;
        while (FetchNext(*cursor, row, header, fetched)) {
            m_current[&header] = row;
            ++m_rowNumbers[&header];
            openGroup();
            if (!PrintOnce(header, &row, outer))
                return false;
            const Context context {&header, &m_current[&header], outer};
            if (!printDetail(&context) || !printFooter(&context) || !closeGroup())
                return false;
        }
        return m_message.isEmpty();
    }
    if (m_noDatabase || !HasQuery(detail.GetDatabaseQuery())) {
        openGroup();
        return PrintOnce(header, nullptr, outer) && printDetail(outer) && printFooter(outer)
                && closeGroup();
    }
    // A new group starts whenever a field the header shows from the detail changes.
    std::unique_ptr<CDataCursor> cursor = Query(detail, detail.GetDatabaseQuery(), outer, {});
    if (!cursor)
        return false;
    CDataRow row;
    QVariantList groupKey;
    bool first = true;
    qint64 fetched = 0;
    while (FetchNext(*cursor, row, detail, fetched)) {
        const QVariantList key = GroupKey(header, detail, row);
        if (first || key != groupKey) {
            // The footer of the group that ends sees its last row.
            if (!first && (!printFooter(outer) || !closeGroup()))
                return false;
            m_current[&detail] = row;
            m_rowNumbers[&detail] = 0;
            openGroup();
            if (!PrintOnce(header, nullptr, outer))
                return false;
            groupKey = key;
            first = false;
        }
        if (!PrintRow(detail, row, outer))
            return false;
    }
    if (!m_message.isEmpty())
        return false;
    return first || (printFooter(outer) && closeGroup());
}

bool CReportLayout::DrawBand(const CVornBand &band, int top, CPage &page)
{
    // Page headers and footers keep their height: the footers' space is kept free before the
    // body of the page is known.
    bool print = true;
    if (ExprPlan *when = m_plans[&band].printWhen) {
        At(band);
        if (!Condition(*when, print))
            return false;
    }
    CBandContent content;
    if (!print)
        return true;
    if (!LayBand(band, false, content))
        return false;
    PutBandContent(content, top, page);
    return true;
}
