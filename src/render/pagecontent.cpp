#include "pagecontent.h"

CPage::CPage(std::shared_ptr<const CPageFontTable> fonts)
    : m_fonts(std::move(fonts))
{
}

const CPageFontTable &CPage::GetFonts() const
{
    static const CPageFontTable none;
    return m_fonts ? *m_fonts : none;
}
