#include "pagecontent.h"

CPage::CPage(std::shared_ptr<const CPageFontTable> fonts)
    : m_fonts(std::move(fonts))
{ }

const CPageFontTable &CPage::GetFonts() const
{
    static const CPageFontTable none;
    return m_fonts ? *m_fonts : none;
}

const CPageSource &SourceOf(const CPageItem &item)
{
    return std::visit([](const auto &primitive) -> const CPageSource & { return primitive.source; },
                      item);
}

const CPageRect &BoxOf(const CPageItem &item)
{
    return std::visit([](const auto &primitive) -> const CPageRect & { return primitive.box; },
                      item);
}
