#include "textitemlayout.h"

#include "optionlist.h"
#include "vorndbtext.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

int TextFontHeight(int points, int dpiY, double zoom)
{
    // Rounded to the nearest pixel with halves away from zero, in integers so that no
    // floating-point error moves a half.
    const qint64 scaled = qint64(points) * dpiY;
    const qint64 rounded = scaled >= 0 ? (scaled + 36) / 72 : -((-scaled + 36) / 72);
    const double height = std::trunc(double(rounded) * zoom);
    return -static_cast<int>(std::clamp(height, -1e6, 1e6));
}

QFont TextFont(const QString &face, int points, bool bold, bool italic, bool underline,
               bool strikeout, int dpiY, double zoom)
{
    QFont font;
    if (!face.isEmpty())
        font.setFamilies({face});
    font.setStyleHint(QFont::SansSerif);
    const int height = TextFontHeight(points, dpiY, zoom);
    // A positive height would ask for the cell height; it is taken as the character height,
    // which is as close as a pixel size gets.
    if (height != 0)
        font.setPixelSize(std::abs(height));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    return font;
}

QFont TextItemFont(const CVornText &item, int dpiY, double zoom)
{
    return TextFont(item.GetFontName(), item.GetFontSize(), item.GetBold() != 0,
                    item.GetItalic() != 0, item.GetUnderline() != 0, item.GetStrikeout() != 0, dpiY,
                    zoom);
}

namespace {

QString FieldPlaceholder(const CVornDbText &item)
{
    if (item.GetDataField().isEmpty())
        return QCoreApplication::translate("CPagePainter", "[DB Field]");
    const QString field = u'[' + item.GetDataField() + u']';
    if (item.GetDataSource().isEmpty())
        return field;
    const QString &source = item.GetQuery().isEmpty() ? item.GetDataSource() : item.GetName();
    return u'[' + source + u"]."_s + field;
}

} // namespace

QString DbTextPlaceholder(const CVornDbText &item)
{
    if (!item.GetExpression().isEmpty())
        return item.GetExpression();
    const QString name = item.GetAggregate() != CVornDbText::NoAggregate
            ? VornOptions::Aggregate().Name(item.GetAggregate())
            : QString();
    if (name.isEmpty())
        return FieldPlaceholder(item);
    // A count of rows names no field: it shows the band whose rows it counts.
    if (item.GetDataField().isEmpty()) {
        const QString rows
                = item.GetDataSource().isEmpty() ? QString() : u'[' + item.GetDataSource() + u']';
        return name + u'(' + rows + u')';
    }
    return name + u'(' + FieldPlaceholder(item) + u')';
}

QString TextItemString(const CVornText &item)
{
    if (const auto *dbText = dynamic_cast<const CVornDbText *>(&item))
        return DbTextPlaceholder(*dbText);
    return item.GetText();
}

int TextItemFlags(const CVornText &item)
{
    int flags = 0;
    switch (item.GetHorzAlignment()) {
    case 1:
        flags |= Qt::AlignRight;
        break;
    case 2:
        flags |= Qt::AlignHCenter;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (item.GetWordWrap())
        return flags | Qt::TextWordWrap | Qt::AlignTop;
    flags |= Qt::TextSingleLine;
    switch (item.GetVertAlignment()) {
    case 1:
        return flags | Qt::AlignVCenter;
    case 2:
        return flags | Qt::AlignBottom;
    default:
        return flags | Qt::AlignTop;
    }
}

int WrappedTextTop(const PixRect &box, int textHeight, int vertAlignment)
{
    const qint64 d = qint64(box.Height()) - textHeight;
    qint64 shift = 0;
    if (vertAlignment == 1)
        shift = std::abs(d / 2);
    else if (vertAlignment == 2)
        shift = std::abs(d);
    return static_cast<int>(std::min<qint64>(box.top + shift, 1 << 29));
}

QString TrimFromLeft(const QString &text, int maxWidth,
                     const std::function<int(const QString &)> &width)
{
    // Where each character starts; the last one is always kept.
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            starts.push_back(i);
    }
    if (starts.size() < 2 || width(text) <= maxWidth)
        return text;
    // Dropping characters from the front never widens a text, so the first tail that fits is
    // found by halving instead of measuring every shorter tail in turn: a long field name then
    // costs a few measurements, not one per character.
    size_t tooWide = 0; // index into starts of a tail known to be too wide
    size_t fits = starts.size() - 1; // the last character alone is the answer if nothing fits
    while (fits - tooWide > 1) {
        const size_t middle = tooWide + (fits - tooWide) / 2;
        if (width(text.mid(starts[middle])) <= maxWidth)
            fits = middle;
        else
            tooWide = middle;
    }
    return text.mid(starts[fits]);
}

qsizetype VisibleTextLimit(int width, int height, int lineHeight)
{
    const qint64 lines = 4 * qint64(std::max(height, 0)) / std::max(lineHeight, 1) + 4;
    const qint64 limit = lines * (qint64(std::max(width, 0)) + 1);
    return qsizetype(std::clamp<qint64>(limit, 20000, qint64(1) << 40));
}

QString VisibleTextPart(const QString &text, qsizetype limit, int flags)
{
    if (text.size() <= limit)
        return text;
    qsizetype start = 0;
    if (!(flags & Qt::TextWordWrap)) {
        if (flags & Qt::AlignRight)
            start = text.size() - limit;
        else if (flags & Qt::AlignHCenter)
            start = (text.size() - limit) / 2;
    }
    qsizetype end = start + limit;
    // Never half a surrogate pair at either end.
    if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate())
        ++start;
    if (end < text.size() && text[end].isLowSurrogate() && text[end - 1].isHighSurrogate())
        --end;
    return text.mid(start, end - start);
}
