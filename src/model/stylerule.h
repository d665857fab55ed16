#pragma once

#include <QString>

#include <optional>
#include <vector>

// One rule of an item's Styles: for a printing where its condition holds, the properties it sets
// replace the item's own. A property it leaves unset keeps the item's value. Colours are
// 0x00BBGGRR like every colour of the model; bold and italic are 0 or 1.
struct CStyleRule
{
    QString when;
    std::optional<quint32> color;
    std::optional<quint32> bkColor;
    std::optional<int> bold;
    std::optional<int> italic;

    // An item holds at most this many rules; the first whose condition holds applies.
    static constexpr int MaxRules = 8;

    friend bool operator==(const CStyleRule &, const CStyleRule &) = default;
};

using CStyleRules = std::vector<CStyleRule>;
