#include "reportlayout.h"

#include "bandreferences.h"
#include "chartitem.h"
#include "itemkinds.h"
#include "sourcedate.h"
#include "vornitems.h"
#include "vornreport.h"

using namespace Qt::StringLiterals;

CPageText::Field CReportLayout::PageFieldOf(const CVornDbText &text)
{
    if (!text.GetExpression().isEmpty() || !text.GetDataSource().isEmpty()
        || !text.GetQuery().trimmed().isEmpty())
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

    m_locale = m_report.GetLocale().isEmpty() ? QLocale::c() : QLocale(m_report.GetLocale());
    // TODAY() is the day the run started; SOURCE_DATE_EPOCH fixes it, so that a run gives the
    // same pages again.
    qint64 epoch = 0;
    m_today = ReadSourceDate(epoch) == ESourceDate::Set
            ? QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).date()
            : QDate::currentDate();

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
        if (!band->GetPrintWhen().isEmpty()) {
            m_plans[band].printWhen = PrepareExpression(*band, nullptr, *band, band->GetPrintWhen(),
                                                        Tr("Print When condition"), true);
            if (!m_plans[band].printWhen)
                return false;
        }
    }
    bool restarts = false;
    for (const CVornBand *band : m_report.GetBands()) {
        if (const CVornBand *header = m_plans[band].groupHeader)
            m_plans[header].isGroupHeader = true;
        if (const CVornBand *footer = m_plans[band].groupFooter)
            m_plans[footer].isGroupFooter = true;
    }
    for (const CVornBand *band : m_report.GetBands()) {
        BandPlan &plan = m_plans[band];
        const CBandPaging &paging = band->GetPaging();
        CPlacing &placing = plan.placing;
        placing.keepWithNext = paging.keepWithNext != 0;
        placing.repeat = plan.isGroupHeader && paging.repeatHeader != 0 ? m_bandIndex[band] : -1;
        placing.closing = band->GetKind() == VornKind::ReportFooter;
        plan.columnRight = pageSize.width();
        // Group headers and footers span the page; the rows between them go in columns.
        const bool spans = plan.isGroupHeader || plan.isGroupFooter;
        const CColumnPlaces columns = ColumnPlacesOf(paging, pageSize.width());
        if (band->GetKind() == VornKind::ReportContents && !spans && columns.count > 1) {
            placing.columns = columns.count;
            placing.columnPitch = columns.pitch;
            placing.columnOrder = paging.columnOrder == CBandPaging::DownThenAcross ? 1 : 0;
            placing.band = m_bandIndex[band];
            plan.columnRight = columns.left + columns.width;
        }
        restarts = restarts || (!IsPageBand(*band) && paging.resetPageNumber != 0);
    }
    // What follows (the connection, the pages) is no band's or item's.
    m_at = {};

    const int type = m_report.GetDatabaseType();
    m_noDatabase = type < 0 || type > 2;
    if (!m_noDatabase && m_options.connection) {
        m_connection = m_options.connection;
    } else if (!m_noDatabase) {
        m_ownConnection = OpenDataConnection(type, m_report.GetConnectString(),
                                             m_options.reportFolder, problem);
        m_connection = m_ownConnection.get();
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
    // Pages whose count is shown wait for the end of their numbering, which gives the count.
    m_pages->SetHoldNumberings(restarts && UsesPageCount(m_report));
    m_pages->SetBreakBand([this](CBandContent &content, int space, bool force, CBandContent &rest) {
        return BreakBandContent(content, space, force, *m_measure, rest);
    });
    return true;
}

bool CReportLayout::PrepareValueFormats(const CVornBand &band, const CVornItem &item,
                                        const QString &dataFormat, const QString &displayFormat,
                                        ItemPlan &itemPlan)
{
    if (!dataFormat.isEmpty()) {
        auto format = std::make_shared<CDataFormat>();
        QString problem;
        if (!CDataFormat::Parse(dataFormat, *format, problem))
            return Fail(Tr("The Data Format \"%1\" of the item \"%2\" on the band \"%3\" "
                           "cannot be used: %4")
                                .arg(dataFormat, item.GetName(), band.GetName(), problem));
        itemPlan.format = std::move(format);
    }
    if (!displayFormat.isEmpty()) {
        auto display = std::make_shared<CDisplayFormat>();
        QString problem;
        if (!CDisplayFormat::Parse(displayFormat, *display, problem))
            return Fail(Tr("The Display Format \"%1\" of the item \"%2\" on the band "
                           "\"%3\" cannot be used: %4")
                                .arg(displayFormat, item.GetName(), band.GetName(), problem));
        itemPlan.display = std::move(display);
    }
    return true;
}

bool CReportLayout::PrepareItems(const CVornBand &band, int bandIndex, BandPlan &plan)
{
    // Shapes lie under the other items of their band, as the design view draws them.
    std::vector<std::pair<const CVornItem *, int>> ordered;
    for (const bool under : {true, false}) {
        int index = 0;
        for (const CVornItem *item : band.GetItems()) {
            if (IsDrawnUnderOthers(item->GetKind()) == under)
                ordered.emplace_back(item, index);
            ++index;
        }
    }
    for (const auto &[item, itemIndex] : ordered) {
        ItemPlan itemPlan;
        itemPlan.item = item;
        itemPlan.place = {bandIndex, itemIndex};
        const CItemPrinting *printing = ItemPrintingOf(item->GetKind());
        itemPlan.build = printing ? printing->build : nullptr;
        At(band, itemIndex);
        if (const auto *text = dynamic_cast<const CVornText *>(item)) {
            itemPlan.grows = text->GetCanGrow() != 0 && text->GetWordWrap() != 0;
            const CPageFont font {text->GetFontName(),       text->GetFontSize(),
                                  text->GetBold() != 0,      text->GetItalic() != 0,
                                  text->GetUnderline() != 0, text->GetStrikeout() != 0};
            itemPlan.font = FontIndex(font);
        }
        QString source;
        if (const auto *dbText = dynamic_cast<const CVornDbText *>(item)) {
            source = dbText->GetDataSource();
            if (!PrepareValueFormats(band, *item, dbText->GetFormat(), dbText->GetDisplayFormat(),
                                     itemPlan))
                return false;
            itemPlan.field = PageFieldOf(*dbText);
            const int aggregate = dbText->GetAggregate();
            // An expression takes its totals itself.
            if (itemPlan.field == CPageText::Field::None && dbText->GetExpression().isEmpty()
                && aggregate >= CVornDbText::Sum && aggregate <= CVornDbText::Maximum) {
                auto total = std::make_unique<AggregatePlan>();
                total->item = dbText;
                total->band = &band;
                total->place = itemPlan.place;
                total->kind = aggregate;
                total->field = dbText->GetDataField();
                total->over = dbText->GetAggregateOver();
                total->total = CAggregate(aggregate);
                itemPlan.aggregate = total.get();
                m_aggregates.push_back(std::move(total));
            }
        } else if (const auto *dbImage = dynamic_cast<const CVornDbImage *>(item)) {
            source = dbImage->GetDataSource();
        } else if (const auto *dbBarcode = dynamic_cast<const CVornDbBarcode *>(item)) {
            source = dbBarcode->GetDataSource();
        } else if (const auto *chart = dynamic_cast<const CVornChart *>(item)) {
            if (!HasQuery(chart->GetQuery()))
                source = chart->GetDataSource();
            if (!PrepareValueFormats(band, *item, chart->GetFormat(), chart->GetDisplayFormat(),
                                     itemPlan))
                return false;
            // Its texts are the size of a chart's small print.
            itemPlan.font = FontIndex({ChartFontFace(), ChartFontPoints});
        }
        if (printing && printing->picture) {
            const QByteArray &bytes = *printing->picture(*item);
            if (!bytes.isEmpty())
                itemPlan.picture = PictureOf(bytes);
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
            plan.totals.push_back(itemPlan.aggregate);
        }
        if (const auto *chart = dynamic_cast<const CVornChart *>(item);
            chart && !PrepareChart(band, *chart, itemPlan, plan))
            return false;
        if (!PrepareItemExpressions(band, itemPlan))
            return false;
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

std::shared_ptr<const CPagePicture> CReportLayout::ItemRow::PictureOf(const QByteArray &bytes)
{
    return m_layout.PictureOf(bytes);
}
