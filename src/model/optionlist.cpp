#include "optionlist.h"

#include "vornkind.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

} // namespace

COptionList::COptionList(std::initializer_list<Option> options, const char *unknownName)
    : m_options(options)
    , m_unknownName(unknownName)
{ }

QString COptionList::Name(int code) const
{
    for (const Option &option : m_options) {
        if (option.code == code)
            return Tr(option.name);
    }
    return m_unknownName ? Tr(m_unknownName) : QString();
}

std::optional<int> COptionList::Code(const QString &name) const
{
    for (const Option &option : m_options) {
        if (SameName(name, Tr(option.name)))
            return option.code;
    }
    return std::nullopt;
}

QStringList COptionList::Names() const
{
    QStringList names;
    for (const Option &option : m_options) {
        if (option.offered && !names.contains(Tr(option.name)))
            names.append(Tr(option.name));
    }
    return names;
}

bool COptionList::Has(int code) const
{
    for (const Option &option : m_options) {
        if (option.code == code)
            return true;
    }
    return false;
}

namespace VornOptions {

const COptionList &TextHorzAlignment()
{
    static const COptionList list({{0, "Left"}, {2, "Center"}, {1, "Right"}}, "(Unknown)");
    return list;
}

const COptionList &TextVertAlignment()
{
    static const COptionList list({{0, "Top"}, {1, "Center"}, {2, "Bottom"}}, "(Unknown)");
    return list;
}

const COptionList &ImageHorzAlignment()
{
    static const COptionList list({{0, "Left"}, {2, "Center"}, {1, "Right"}, {3, "Stretch"}},
                                  "(Unknown)");
    return list;
}

const COptionList &ImageVertAlignment()
{
    static const COptionList list({{0, "Top"}, {1, "Center"}, {2, "Bottom"}, {3, "Stretch"}},
                                  "(Unknown)");
    return list;
}

const COptionList &ShapeType()
{
    static const COptionList list({{1, "Rectangle"},
                                   {2, "Rounded Rectangle"},
                                   {3, "Vertical Line"},
                                   {4, "Horizontal Line"},
                                   {5, "Ellipse"}});
    return list;
}

const COptionList &LineStyle()
{
    static const COptionList list({{1, "Solid"}, {2, "Dotted"}});
    return list;
}

const COptionList &Aggregate()
{
    static const COptionList list({{0, "None"},
                                   {1, "Sum"},
                                   {2, "Count"},
                                   {3, "Average"},
                                   {4, "Minimum"},
                                   {5, "Maximum"}});
    return list;
}

const COptionList &AggregateOver()
{
    static const COptionList list({{0, "Band"}, {1, "Page"}, {2, "Report"}});
    return list;
}

const COptionList &DatabaseType()
{
    static const COptionList list(
            {{-1, "None"}, {0, "SQLite"}, {1, "FireBird", false}, {2, "ODBC"}}, "None");
    return list;
}

const COptionList &Orientation()
{
    static const COptionList list({{1, "Portrait"}, {0, "Landscape"}});
    return list;
}

const COptionList &TrueFalse()
{
    static const COptionList list({{1, "True"}, {0, "False"}});
    return list;
}

const COptionList &YesNo()
{
    static const COptionList list({{1, "Yes"}, {0, "No"}});
    return list;
}

const COptionList &NewPage()
{
    static const COptionList list({{0, "No"}, {1, "Before"}, {2, "After"}});
    return list;
}

const COptionList &ColumnOrder()
{
    static const COptionList list({{0, "Across Then Down"}, {1, "Down Then Across"}});
    return list;
}

const COptionList &Symbology()
{
    static const COptionList list({{0, "EAN-13"},
                                   {1, "Code 128"},
                                   {2, "GS1-128"},
                                   {3, "QR Code"},
                                   {4, "DataMatrix"},
                                   {5, "PDF417"},
                                   {6, "EAN-8"},
                                   {7, "UPC-A"},
                                   {8, "Code 39"},
                                   {9, "ITF-14"}});
    return list;
}

const COptionList &EccLevel()
{
    static const COptionList list({{0, "L (7%)"}, {1, "M (15%)"}, {2, "Q (25%)"}, {3, "H (30%)"}});
    return list;
}

const COptionList &ChartType()
{
    static const COptionList list({{0, "Bars"},
                                   {1, "Horizontal Bars"},
                                   {2, "Stacked Bars"},
                                   {3, "Lines"},
                                   {4, "Area"},
                                   {5, "Pie"},
                                   {6, "Doughnut"}});
    return list;
}

const COptionList &ChartLegend()
{
    static const COptionList list({{0, "None"}, {1, "Right"}, {2, "Bottom"}});
    return list;
}

} // namespace VornOptions
