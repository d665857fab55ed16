#include "pagecontent.h"

#include "dataformat.h"

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

QString PageTextValue(const CPageText &text, int number, int count)
{
    switch (text.field) {
    case CPageText::Field::None:
        return text.text;
    case CPageText::Field::Computed:
        return text.computed ? text.computed->Text(number, count) : QString();
    case CPageText::Field::PageNumber:
    case CPageText::Field::PageCount:
        break;
    }
    const int n = text.field == CPageText::Field::PageNumber ? number : count;
    return text.format ? text.format->Format(n) : QString::number(n);
}
