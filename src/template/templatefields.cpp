#include "templateread.h"

#include "numbertext.h"
#include "vornelement.h"

namespace TemplateRead {

namespace {

Field FieldOfLower(std::string_view name)
{
    const auto is = [name](std::string_view candidate) {
        return name == candidate;
    };
    switch (name.size()) {
    case 4:
        return is("when") ? Field::When : is("bold") ? Field::Bold : Field::Unknown;
    case 5:
        return is("color") ? Field::Color : Field::Unknown;
    case 6:
        return is("height")    ? Field::Height
                : is("header") ? Field::Header
                : is("footer") ? Field::Footer
                : is("italic") ? Field::Italic
                : is("locale") ? Field::Locale
                               : Field::Unknown;
    case 7:
        return is("element") ? Field::Element : is("columns") ? Field::Columns : Field::Unknown;
    case 8:
        return is("bk_color") ? Field::BkColor : is("new_page") ? Field::NewPage : Field::Unknown;
    case 10:
        return is("print_when")    ? Field::PrintWhen
                : is("column_gap") ? Field::ColumnGap
                                   : Field::Unknown;
    case 11:
        return is("skip_labels")    ? Field::SkipLabels
                : is("column_left") ? Field::ColumnLeft
                                    : Field::Unknown;
    case 12:
        return is("column_order")    ? Field::ColumnOrder
                : is("column_width") ? Field::ColumnWidth
                                     : Field::Unknown;
    case 13:
        return is("repeat_header")    ? Field::RepeatHeader
                : is("keep_together") ? Field::KeepTogether
                                      : Field::Unknown;
    case 14:
        return is("database-query")    ? Field::DatabaseQuery
                : is("keep_with_next") ? Field::KeepWithNext
                                       : Field::Unknown;
    case 17:
        return is("reset_page_number") ? Field::ResetPageNumber : Field::Unknown;
    case 18:
        return is("parent-data-source") ? Field::ParentDataSource : Field::Unknown;
    case 19:
        return is("print-on-first-page") ? Field::PrintOnFirstPage : Field::Unknown;
    default:
        return Field::Unknown;
    }
}

} // namespace

std::string_view LowerName(const CXmlNode &node, LowerNameBuffer &lower)
{
    const QByteArrayView raw = NodeNameUtf8(node);
    if (raw.size() >= qsizetype(lower.size()))
        return {};
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c >= 0x80) {
            // Rare: a letter that folds to an ASCII one, which Qt's case
            // folding decides as it does everywhere else.
            const QString folded = QString::fromUtf8(raw).toCaseFolded();
            if (folded.size() >= qsizetype(lower.size()))
                return {};
            for (qsizetype k = 0; k < folded.size(); ++k) {
                if (folded[k].unicode() >= 0x80)
                    return {};
                lower[size_t(k)] = char(folded[k].unicode());
            }
            return std::string_view(lower.data(), size_t(folded.size()));
        }
        lower[size_t(i)] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return std::string_view(lower.data(), size_t(raw.size()));
}

// Looks a child's name up once, instead of comparing it with every name a
// level knows: the reader meets some hundred thousand children in a big file.
// The name is folded to lower case and compared with the few names of its
// length.
Field FieldOf(const CXmlNode &node)
{
    LowerNameBuffer lower;
    return FieldOfLower(LowerName(node, lower));
}

bool ReadElementAttributes(CVornElement &element, const CXmlNode &node, QString &message)
{
    // GetAttribute refuses a node that is not an element.
    QString name;
    if (!GetAttribute(node, u"name", name, message))
        return false;
    element.SetName(name);
    element.SetKind(ReadInt(ReadAttributes<1>(node, {"type"})[0]));
    return true;
}

} // namespace TemplateRead
