#include "reportlayout.h"

#include "bandreferences.h"
#include "pagemodel.h"
#include "pixeldrawing.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFile>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("RunReport", text);
}

bool IsPageBand(const CVornBand &band)
{
    return band.GetKind() == VornKind::PageHeader || band.GetKind() == VornKind::PageFooter;
}

bool HasQuery(const QString &sql)
{
    return !sql.trimmed().isEmpty();
}

// The common part of two rectangles, or an empty one when they do not overlap.
CPageRect Intersect(const CPageRect &a, const CPageRect &b)
{
    const CPageRect common {std::max(a.left, b.left), std::max(a.top, b.top),
                            std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (common.right <= common.left || common.bottom <= common.top)
        return {};
    return common;
}

QRgb Rgb(quint32 colorRef)
{
    return ColorFromColorRef(colorRef).rgb();
}

} // namespace

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

CPageText::Field CReportLayout::PageFieldOf(const CVornDbText &text)
{
    if (!text.GetDataSource().isEmpty() || !text.GetQuery().trimmed().isEmpty())
        return CPageText::Field::None;
    if (SameName(text.GetDataField(), u"#PAGE"_s))
        return CPageText::Field::PageNumber;
    if (SameName(text.GetDataField(), u"#PAGES"_s))
        return CPageText::Field::PageCount;
    return CPageText::Field::None;
}

const CVornBand *CReportLayout::FindBand(const QString &name) const
{
    return m_bandsByName.value(name.toLower(), nullptr);
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
    m_connection.reset();
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

bool CReportLayout::Prepare()
{
    QString problem;
    if (!m_report.Validate(problem) || !CheckBandReferences(m_report, problem))
        return Fail(problem);
    const QSize pageSize {m_report.GetPageWidth(), m_report.GetPageHeight()};
    if (pageSize.width() <= 0 || pageSize.height() <= 0) {
        return Fail(Tr("The page is %1 x %2 mm: it needs a width and a height above zero")
                            .arg(QString::number(pageSize.width() / 100.0),
                                 QString::number(pageSize.height() / 100.0)));
    }

    std::vector<const CVornBand *> headers;
    std::vector<const CVornBand *> footers;
    for (const CVornBand *band : m_report.GetBands()) {
        if (!m_bandsByName.contains(band->GetName().toLower()))
            m_bandsByName.insert(band->GetName().toLower(), band);
        if (band->GetKind() == VornKind::PageHeader)
            headers.push_back(band);
        else if (band->GetKind() == VornKind::PageFooter)
            footers.push_back(band);
    }
    // Group bands print only as such.
    for (const CVornBand *band : m_report.GetBands()) {
        BandPlan &plan = m_plans[band];
        if (band->GetHeader().isEmpty() || IsPageBand(*band))
            continue;
        plan.groupHeader = FindBand(band->GetHeader());
        if (!plan.groupHeader || plan.groupHeader == band) {
            plan.groupHeader = nullptr;
            continue;
        }
        const QString &footer = plan.groupHeader->GetFooter().isEmpty()
                ? band->GetFooter()
                : plan.groupHeader->GetFooter();
        plan.groupFooter = footer.isEmpty() ? nullptr : FindBand(footer);
        if (plan.groupFooter == band || plan.groupFooter == plan.groupHeader)
            plan.groupFooter = nullptr;
        m_plans[plan.groupHeader].printedAlone = false;
        if (plan.groupFooter)
            m_plans[plan.groupFooter].printedAlone = false;
    }
    // Details follow each row of the band their parent data source names.
    for (const CVornBand *band : m_report.GetBands()) {
        BandPlan &plan = m_plans[band];
        if (IsPageBand(*band) || !plan.printedAlone || band->GetParentDataSource().isEmpty())
            continue;
        const CVornBand *parent = FindBand(band->GetParentDataSource());
        // A band grouped under its own parent is printed by the group; one whose parent is
        // missing, a page band or itself prints on its own.
        if (!parent || parent == band || IsPageBand(*parent) || parent == plan.groupHeader)
            continue;
        m_plans[parent].details.push_back(band);
        plan.printedAlone = false;
    }
    int bandIndex = 0;
    for (const CVornBand *band : m_report.GetBands()) {
        m_bandIndex[band] = bandIndex;
        if (!PrepareItems(*band, bandIndex++, m_plans[band]))
            return false;
    }

    const int type = m_report.GetDatabaseType();
    m_noDatabase = type < 0 || type > 2;
    if (!m_noDatabase) {
        m_connection = OpenDataConnection(type, m_report.GetConnectString(), m_options.reportFolder,
                                          problem);
        if (!m_connection)
            return Fail(problem);
    }

    m_measure = std::make_unique<CTextMeasure>(m_fonts);
    if (!m_sink.Begin(pageSize, problem))
        return Fail(problem);
    m_pages = std::make_unique<CPageBuilder>(
            m_sink, m_fonts, m_report.GetPageHeight(), headers, footers,
            [this](const CVornBand &band, int top, CPage &page) {
                return DrawBand(band, top, page);
            },
            [this](int pageCount) {
                if (m_options.progress)
                    m_options.progress(pageCount);
                return !Cancelled();
            },
            m_options.maxPages);
    m_pages->SetBreakBand([this](CBandContent &content, int space, bool force, CBandContent &rest) {
        return BreakBandContent(content, space, force, *m_measure, rest);
    });
    return true;
}

bool CReportLayout::PrepareItems(const CVornBand &band, int bandIndex, BandPlan &plan)
{
    // Shapes lie under the other items of their band, as the design view draws them.
    std::vector<std::pair<const CVornItem *, int>> ordered;
    for (const bool shapes : {true, false}) {
        int index = 0;
        for (const CVornItem *item : band.GetItems()) {
            if ((item->GetKind() == VornKind::Shape) == shapes)
                ordered.emplace_back(item, index);
            ++index;
        }
    }
    for (const auto &[item, itemIndex] : ordered) {
        ItemPlan itemPlan;
        itemPlan.item = item;
        itemPlan.place = {bandIndex, itemIndex};
        At(band, itemIndex);
        if (const auto *text = dynamic_cast<const CVornText *>(item)) {
            itemPlan.grows = text->GetCanGrow() != 0 && text->GetWordWrap() != 0;
            const CPageFont font {text->GetFontName(),       text->GetFontSize(),
                                  text->GetBold() != 0,      text->GetItalic() != 0,
                                  text->GetUnderline() != 0, text->GetStrikeout() != 0};
            const auto found = std::find(m_fonts->begin(), m_fonts->end(), font);
            itemPlan.font = int(found - m_fonts->begin());
            if (found == m_fonts->end())
                m_fonts->push_back(font);
        }
        QString source;
        if (const auto *dbText = dynamic_cast<const CVornDbText *>(item)) {
            source = dbText->GetDataSource();
            if (!dbText->GetFormat().isEmpty()) {
                auto format = std::make_shared<CDataFormat>();
                QString problem;
                if (!CDataFormat::Parse(dbText->GetFormat(), *format, problem))
                    return Fail(Tr("The Data Format \"%1\" of the item \"%2\" on the band \"%3\" "
                                   "cannot be used: %4")
                                        .arg(dbText->GetFormat(), item->GetName(), band.GetName(),
                                             problem));
                itemPlan.format = std::move(format);
            }
            itemPlan.field = PageFieldOf(*dbText);
            const int aggregate = dbText->GetAggregate();
            if (itemPlan.field == CPageText::Field::None && aggregate >= CVornDbText::Sum
                && aggregate <= CVornDbText::Maximum) {
                auto total = std::make_unique<AggregatePlan>();
                total->item = dbText;
                total->band = &band;
                total->place = itemPlan.place;
                total->over = dbText->GetAggregateOver();
                total->total = CAggregate(aggregate);
                itemPlan.aggregate = total.get();
                m_aggregates.push_back(std::move(total));
            }
        } else if (const auto *dbImage = dynamic_cast<const CVornDbImage *>(item)) {
            source = dbImage->GetDataSource();
        } else if (const auto *dbBarcode = dynamic_cast<const CVornDbBarcode *>(item)) {
            source = dbBarcode->GetDataSource();
        } else if (const auto *image = dynamic_cast<const CVornImage *>(item)) {
            if (!image->GetImageData().isEmpty())
                itemPlan.picture = PictureOf(image->GetImageData());
        }
        // A DB item without a data source shows a field of its own band's row; one with a
        // query of its own needs none.
        itemPlan.source = source.isEmpty() ? &band : FindBand(source);
        const auto *dbText = dynamic_cast<const CVornDbText *>(item);
        if (dbText && HasQuery(dbText->GetQuery()) && !itemPlan.source)
            itemPlan.source = &band;
        if (!itemPlan.source)
            return Fail(Tr("The item \"%1\" on the band \"%2\" takes its data from \"%3\", "
                           "which is no band of the report")
                                .arg(item->GetName(), band.GetName(), source));
        if (itemPlan.aggregate) {
            itemPlan.aggregate->source = source.isEmpty() ? &band : FindBand(source);
            m_aggregatesBySource[itemPlan.aggregate->source].push_back(itemPlan.aggregate);
        }
        plan.items.push_back(std::move(itemPlan));
    }
    return true;
}

std::shared_ptr<const CPagePicture> CReportLayout::PictureOf(const QByteArray &bytes)
{
    // Found by content: the same picture on every row is one picture, decoded once when drawn.
    if (const auto found = m_pictures.constFind(bytes); found != m_pictures.cend()) {
        if (std::shared_ptr<const CPagePicture> picture = found->lock())
            return picture;
    }
    auto picture = std::make_shared<const CPagePicture>(bytes);
    m_pictures.insert(bytes, picture);
    if (m_pictures.size() > 2 * m_picturesKept + 64) {
        // Pages written and dropped have let their pictures go: so do the bytes kept here.
        m_pictures.removeIf([](const auto &entry) { return entry.value().expired(); });
        m_picturesKept = m_pictures.size();
    }
    return picture;
}

std::unique_ptr<CDataCursor> CReportLayout::Query(const CVornBand &band, const QString &sql,
                                                  const Context *outer, const QString &itemName)
{
    const auto entry = [&](const QString &name) -> QString {
        for (const Context *context = outer; context; context = context->outer) {
            if (!context->row)
                continue;
            const int index = context->row->IndexOf(name);
            if (index >= 0)
                return context->row->GetValues().at(index).toString();
        }
        if (m_options.parameter)
            return m_options.parameter(band.GetName(), name);
        if (const CVornParameter *stored = m_report.GetParameters().Find(band.GetName(), name))
            return stored->GetValue();
        return {};
    };
    if (itemName.isEmpty())
        At(band);
    QString problem;
    std::unique_ptr<CDataCursor> cursor = m_connection->Execute(sql, entry, problem);
    if (!cursor) {
        if (itemName.isEmpty())
            Fail(Tr("The query of the band \"%1\" failed: %2").arg(band.GetName(), problem));
        else
            Fail(Tr("The query of the item \"%1\" on the band \"%2\" failed: %3")
                         .arg(itemName, band.GetName(), problem));
    }
    return cursor;
}

bool CReportLayout::Fetch(CDataCursor &cursor, CDataRow &row, const CVornBand &band, int item)
{
    At(band, item);
    if (Cancelled())
        return false;
    QString problem;
    if (cursor.Fetch(row, problem))
        return true;
    if (!problem.isEmpty())
        Fail(Tr("Reading the rows of the band \"%1\" failed: %2").arg(band.GetName(), problem));
    return false;
}

bool CReportLayout::FetchNext(CDataCursor &cursor, CDataRow &row, const CVornBand &band,
                              qint64 &fetched)
{
    if (!Fetch(cursor, row, band))
        return false;
    if (++fetched > m_options.maxRows) {
        // A driver that keeps answering (the same row again and again) ends here.
        return Fail(Tr("The query of the band \"%1\" returned more than %2 rows; the run stops "
                       "there")
                            .arg(band.GetName())
                            .arg(m_options.maxRows));
    }
    return true;
}

bool CReportLayout::Place(const CVornBand &band, const Context *outer, const CDataRow *row)
{
    m_placing = &band;
    m_placingContext = outer;
    m_placingRow = row;
    CBandContent content;
    bool placed = LayBand(band, true, content);
    m_placingRow = nullptr;
    // The band's row counts in the totals on the page where the band starts.
    placed = placed && m_pages->Place(std::move(content), [&] { return TakeRow(band, row); });
    m_placing = nullptr;
    m_placingContext = nullptr;
    return placed;
}

bool CReportLayout::PrintBand(const CVornBand &band, const Context *outer)
{
    At(band);
    if (band.GetKind() == VornKind::PageBreak)
        return m_pages->Break();
    const BandPlan &plan = m_plans[&band];
    if (plan.groupHeader)
        return PrintGroup(band, outer);
    if (m_noDatabase || !HasQuery(band.GetDatabaseQuery())) {
        if (!Place(band, outer))
            return false;
        return PrintDetails(band, nullptr, outer);
    }
    std::unique_ptr<CDataCursor> cursor = Query(band, band.GetDatabaseQuery(), outer, {});
    if (!cursor)
        return false;
    CDataRow row;
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
    if (!Place(band, outer, &row))
        return false;
    return PrintDetails(band, &row, outer);
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
        return !footer || PrintDetailsOf(*footer, context);
    };
    const auto printDetail = [&](const Context *context) -> bool {
        if (m_noDatabase || !HasQuery(detail.GetDatabaseQuery())) {
            if (!Place(detail, context))
                return false;
            return PrintDetails(detail, nullptr, context);
        }
        std::unique_ptr<CDataCursor> cursor = Query(detail, detail.GetDatabaseQuery(), context, {});
        if (!cursor)
            return false;
        CDataRow row;
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
        while (FetchNext(*cursor, row, header, fetched)) {
            m_current[&header] = row;
            if (!Place(header, outer, &row) || !PrintDetails(header, &row, outer))
                return false;
            const Context context {&header, &m_current[&header], outer};
            if (!printDetail(&context) || !printFooter(&context))
                return false;
        }
        return m_message.isEmpty();
    }
    if (m_noDatabase || !HasQuery(detail.GetDatabaseQuery())) {
        return Place(header, outer) && PrintDetails(header, nullptr, outer) && printDetail(outer)
                && printFooter(outer);
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
            if (!first && !printFooter(outer))
                return false;
            m_current[&detail] = row;
            if (!Place(header, outer) || !PrintDetails(header, nullptr, outer))
                return false;
            groupKey = key;
            first = false;
        }
        if (!PrintRow(detail, row, outer))
            return false;
    }
    if (!m_message.isEmpty())
        return false;
    return first || printFooter(outer);
}

bool CReportLayout::PrintDetailsOf(const CVornBand &band, const Context *outer)
{
    return Place(band, outer) && PrintDetails(band, nullptr, outer);
}

bool CReportLayout::DrawBand(const CVornBand &band, int top, CPage &page)
{
    // Page headers and footers keep their height: the footers' space is kept free before the
    // body of the page is known.
    CBandContent content;
    if (!LayBand(band, false, content))
        return false;
    PutBandContent(content, top, page);
    return true;
}

bool CReportLayout::LayBand(const CVornBand &band, bool grow, CBandContent &content)
{
    At(band);
    if (IsPageBand(band) && !m_noDatabase && HasQuery(band.GetDatabaseQuery())
        && !m_current.count(&band)) {
        // A page band with a query of its own shows its first row on every page.
        std::unique_ptr<CDataCursor> cursor = Query(band, band.GetDatabaseQuery(), nullptr, {});
        if (!cursor)
            return false;
        CDataRow row;
        if (!Fetch(*cursor, row, band) && !m_message.isEmpty())
            return false;
        m_current[&band] = row;
    }
    content.height = band.GetEffectiveHeight();
    content.band = {m_bandIndex[&band], 0, content.height, !IsPageBand(band), {}};
    const CPageRect bandRect {0, 0, m_report.GetPageWidth(), content.height};
    std::vector<CTextGrowth> growths;
    for (ItemPlan &plan : m_plans[&band].items) {
        const CVornItem &item = *plan.item;
        const CPageRect designed {item.GetLeft(), item.GetTop(), item.GetRight(), item.GetBottom()};
        CPageRect box = Intersect(designed, bandRect);
        if (box.right <= box.left)
            continue;
        // Cut at the band's bottom once the band has grown.
        if (grow) {
            box.top = designed.top;
            box.bottom = designed.bottom;
        }
        const size_t index = content.items.size();
        if (!DrawItem(band, plan, box, content))
            return false;
        if (!grow || !plan.grows || content.items.size() == index)
            continue;
        const auto *text = std::get_if<CPageText>(&content.items[index]);
        if (!text || text->field != CPageText::Field::None)
            continue;
        content.flowing[index] = true;
        const int growth = m_measure->Height(*text) - (box.bottom - box.top);
        if (growth > 0)
            growths.push_back({index, box.top, box.bottom, growth});
    }
    if (grow)
        GrowBandContent(content, growths);
    std::stable_sort(
            content.band.values.begin(), content.band.values.end(),
            [](const CPrintedValue &a, const CPrintedValue &b) { return a.left < b.left; });
    // An aggregate over its band starts again after each printing of the band.
    for (ItemPlan &plan : m_plans[&band].items) {
        if (plan.aggregate && plan.aggregate->over == CVornDbText::OverBand)
            plan.aggregate->total.Reset();
    }
    return true;
}

bool CReportLayout::TakeRow(const CVornBand &band, const CDataRow *row)
{
    const auto found = m_aggregatesBySource.find(&band);
    if (found == m_aggregatesBySource.end())
        return true;
    // Rows of a band with a query (a report header without one prints with no row), or every
    // printing of a band whose values the caller gives.
    if (!m_noDatabase && (!row || row->IsEmpty()))
        return true;
    for (AggregatePlan *aggregate : found->second) {
        if (aggregate->over == CVornDbText::OverPage
            && aggregate->page != m_pages->GetPageCount()) {
            aggregate->total.Reset();
            aggregate->page = m_pages->GetPageCount();
        }
        QVariant value;
        if (!RowValue(*aggregate, row, value) || !AddToTotal(*aggregate, aggregate->total, value))
            return false;
    }
    return true;
}

bool CReportLayout::RowValue(AggregatePlan &aggregate, const CDataRow *row, QVariant &value)
{
    const QString &field = aggregate.item->GetDataField();
    // A count without a field counts the rows.
    if (field.isEmpty() && aggregate.item->GetAggregate() == CVornDbText::Count) {
        value = 1;
        return true;
    }
    if (m_noDatabase) {
        value = m_options.value ? QVariant(m_options.value(aggregate.source->GetName(), field))
                                : QVariant();
        return true;
    }
    if (!row || row->IsEmpty()) {
        value = QVariant();
        return true;
    }
    const int column = row->IndexOf(field);
    if (column < 0) {
        At(*aggregate.band, aggregate.place.item);
        return Fail(Tr("The item \"%1\" on the band \"%2\" shows the field \"%3\", which the "
                       "query of \"%4\" does not return; it returns: %5")
                            .arg(aggregate.item->GetName(), aggregate.band->GetName(), field,
                                 aggregate.source->GetName(), row->GetColumns().join(u", "_s)));
    }
    value = row->GetValues().at(column);
    return true;
}

bool CReportLayout::AddToTotal(AggregatePlan &aggregate, CAggregate &total, const QVariant &value)
{
    const CAggregate::Result result = total.Add(value);
    if (result != CAggregate::Result::Taken)
        At(*aggregate.band, aggregate.place.item);
    switch (result) {
    case CAggregate::Result::Taken:
        return true;
    case CAggregate::Result::NotANumber:
        return Fail(Tr("The item \"%1\" on the band \"%2\" cannot total the value \"%3\" of "
                       "the field \"%4\": it is not a number")
                            .arg(aggregate.item->GetName(), aggregate.band->GetName(),
                                 value.toString(), aggregate.item->GetDataField()));
    case CAggregate::Result::TooLarge:
        return Fail(Tr("The total of the item \"%1\" on the band \"%2\" has more than 38 "
                       "digits")
                            .arg(aggregate.item->GetName(), aggregate.band->GetName()));
    }
    return false;
}

bool CReportLayout::AggregateValue(const CVornBand &band, AggregatePlan &aggregate, QVariant &value)
{
    CAggregate total = aggregate.total;
    if (aggregate.over == CVornDbText::OverPage && aggregate.page != m_pages->GetPageCount())
        total.Reset();
    // An item on the band whose rows it takes counts the row it prints with.
    if (aggregate.source == &band && m_placing == &band && (m_placingRow || m_noDatabase)) {
        QVariant current;
        if (!RowValue(aggregate, m_placingRow, current) || !AddToTotal(aggregate, total, current))
            return false;
    }
    value = total.Value();
    return true;
}

bool CReportLayout::DrawItem(const CVornBand &band, ItemPlan &plan, const CPageRect &box,
                             CBandContent &page)
{
    CPageBand &placed = page.band;
    const CVornItem &item = *plan.item;
    At(band, plan.place.item);
    switch (item.GetKind()) {
    case VornKind::Text:
    case VornKind::DbText: {
        const auto &textItem = static_cast<const CVornText &>(item);
        CPageText text;
        text.box = box;
        text.font = plan.font;
        text.color = Rgb(item.GetColor());
        text.horzAlignment = textItem.GetHorzAlignment();
        text.vertAlignment = textItem.GetVertAlignment();
        text.wordWrap = textItem.GetWordWrap() != 0;
        if (item.GetKind() == VornKind::Text) {
            text.text = textItem.GetText();
        } else if (plan.field != CPageText::Field::None) {
            text.field = plan.field;
            text.format = plan.format;
        } else if (plan.aggregate) {
            QVariant value;
            if (!AggregateValue(band, *plan.aggregate, value))
                return false;
            text.text = plan.format ? plan.format->Format(value) : value.toString();
            if (placed.body)
                placed.values.push_back({plan.place.item, box.left, box.right, text.text, value});
        } else {
            const auto &dbText = static_cast<const CVornDbText &>(item);
            QVariant value;
            if (!ItemValue(band, plan, dbText.GetDataSource(), dbText.GetDataField(),
                           dbText.GetQuery(), value))
                return false;
            text.text = plan.format ? plan.format->Format(value) : value.toString();
            if (placed.body)
                placed.values.push_back({plan.place.item, box.left, box.right, text.text, value});
        }
        text.source = plan.place;
        if (!text.text.isEmpty() || text.field != CPageText::Field::None)
            page.Add(std::move(text));
        return true;
    }
    case VornKind::Shape: {
        const auto &shapeItem = static_cast<const CVornShape &>(item);
        const int type = shapeItem.GetShapeType();
        if (type < 1 || type > 5)
            return true;
        CPageShape shape;
        shape.box = box;
        shape.kind = CPageShape::Kind(type);
        shape.color = Rgb(item.GetColor());
        shape.fill = Rgb(shapeItem.GetBkColor());
        shape.lineWidth = shapeItem.GetLineWidth();
        shape.dotted = shapeItem.GetLineStyle() == 2;
        shape.source = plan.place;
        page.Add(shape);
        return true;
    }
    case VornKind::Image:
    case VornKind::DbImage: {
        const auto &imageItem = static_cast<const CVornImage &>(item);
        CPageImage image {box, plan.picture, imageItem.GetHorzAlignment(),
                          imageItem.GetVertAlignment(), plan.place};
        if (item.GetKind() == VornKind::DbImage) {
            const auto &dbImage = static_cast<const CVornDbImage &>(item);
            QVariant value;
            if (!ItemValue(band, plan, dbImage.GetDataSource(), dbImage.GetDataField(), {}, value))
                return false;
            QByteArray bytes = value.toByteArray();
            if (m_noDatabase && !bytes.isEmpty()) {
                // Without a database the caller names a picture file.
                QFile file(value.toString());
                bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            }
            // No picture in the row prints nothing; bytes that are no picture the placeholder.
            if (bytes.isEmpty())
                return true;
            image.picture = PictureOf(bytes);
        }
        page.Add(std::move(image));
        return true;
    }
    case VornKind::Barcode:
    case VornKind::DbBarcode: {
        CPageBarcode barcode;
        barcode.box = box;
        barcode.clip = box;
        barcode.source = plan.place;
        if (item.GetKind() == VornKind::Barcode) {
            barcode.value = static_cast<const CVornBarcode &>(item).GetBarcode();
        } else {
            const auto &dbBarcode = static_cast<const CVornDbBarcode &>(item);
            QVariant value;
            if (!ItemValue(band, plan, dbBarcode.GetDataSource(), dbBarcode.GetDataField(), {},
                           value))
                return false;
            barcode.value = value.toString().trimmed();
        }
        if (!barcode.value.isEmpty())
            page.Add(std::move(barcode));
        return true;
    }
    default:
        return true;
    }
}

bool CReportLayout::ItemValue(const CVornBand &band, ItemPlan &plan, const QString &dataSource,
                              const QString &field, const QString &query, QVariant &value)
{
    value = QVariant();
    if (m_noDatabase) {
        if (m_options.value)
            value = m_options.value(dataSource, field);
        return true;
    }
    const QString &itemName = plan.item->GetName();
    CDataRow ownRow;
    const CDataRow *row = nullptr;
    QString from = plan.source->GetName();
    if (HasQuery(query)) {
        // The item's own query, with entries valued from its band's row and then as the
        // band's own entries are; its first row counts.
        const auto current = m_current.find(&band);
        const Context context {&band, current == m_current.end() ? nullptr : &current->second,
                               m_placing == &band ? m_placingContext : nullptr};
        std::unique_ptr<CDataCursor> cursor = Query(band, query, &context, itemName);
        if (!cursor)
            return false;
        if (!Fetch(*cursor, ownRow, band, plan.place.item))
            return m_message.isEmpty();
        row = &ownRow;
        from = itemName;
    } else {
        const auto it = m_current.find(plan.source);
        if (it == m_current.end())
            return true;
        row = &it->second;
    }
    if (row->IsEmpty())
        return true;
    if (plan.columns != &row->GetColumns() || plan.column >= row->GetValues().size()) {
        plan.columns = &row->GetColumns();
        plan.column = row->IndexOf(field);
    }
    if (plan.column < 0) {
        plan.columns = nullptr;
        return Fail(Tr("The item \"%1\" on the band \"%2\" shows the field \"%3\", which the "
                       "query of \"%4\" does not return; it returns: %5")
                            .arg(itemName, band.GetName(), field, from,
                                 row->GetColumns().join(u", "_s)));
    }
    value = row->GetValues().at(plan.column);
    return true;
}
