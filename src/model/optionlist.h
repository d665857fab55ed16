#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

// A property whose value is one of a few integer codes, each with a display
// name: the one list that the Properties pane offers, that reads a picked name
// back into its code, and that the checks and the README follow.
class COptionList
{
public:
    struct Option
    {
        int code;
        const char *name; // untranslated; shown through the "Vantel" translation context
        bool offered = true; // false: shown for its code, never offered for picking
    };

    // Options in the order they are offered; unknownName is shown for any other code
    // (nullptr: the empty text).
    COptionList(std::initializer_list<Option> options, const char *unknownName = nullptr);

    // The display name of a code.
    QString Name(int code) const;
    // The code of a display name, compared without regard to letter case; nothing for a name
    // that is none of the options.
    std::optional<int> Code(const QString &name) const;
    // The names offered, in display order.
    QStringList Names() const;
    bool Has(int code) const;
    const std::vector<Option> &Options() const { return m_options; }

private:
    std::vector<Option> m_options;
    const char *m_unknownName;
};

// The option lists of the report, band and item properties.
namespace VornOptions {
const COptionList &TextHorzAlignment(); // Left 0, Center 2, Right 1
const COptionList &TextVertAlignment(); // Top 0, Center 1, Bottom 2
const COptionList &ImageHorzAlignment(); // the text's, then Stretch 3
const COptionList &ImageVertAlignment();
const COptionList &ShapeType(); // Rectangle 1 ... Ellipse 5
const COptionList &LineStyle(); // Solid 1, Dotted 2
const COptionList &Aggregate(); // None 0, Sum 1 ... Maximum 5
const COptionList &AggregateOver(); // Band 0, Page 1, Report 2
const COptionList &DatabaseType(); // None -1, SQLite 0, ODBC 2; FireBird 1 shown only
const COptionList &Orientation(); // Portrait 1, Landscape 0
const COptionList &TrueFalse(); // True 1, False 0
const COptionList &YesNo(); // Yes 1, No 0
const COptionList &NewPage(); // No 0, Before 1, After 2
const COptionList &ColumnOrder(); // Across Then Down 0, Down Then Across 1
const COptionList &Symbology(); // EAN-13 0 ... ITF-14 9 (BarcodeSymbology)
const COptionList &EccLevel(); // L (7%) 0 ... H (30%) 3
const COptionList &ChartType(); // Bars 0 ... Doughnut 6 (CVornChart::Type)
const COptionList &ChartLegend(); // None 0, Right 1, Bottom 2
} // namespace VornOptions
