// Timing of the SQL editor's colouring: a whole query coloured from scratch,
// and one keystroke in the middle of queries of growing length. A keystroke
// re-colours the edited line and stops as soon as a line's end state is
// unchanged, so its cost must not grow with the length of the query.

#include "sqlsyntaxparser.h"
#include "syntaxricheditctrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A realistic report query: joins, functions, strings, numbers, parameters,
// line and block comments, cycled until the wanted number of lines. Without
// block comments, an opened comment runs to the end of the text.
QString Query(int lines, bool blockComments = true)
{
    static const QStringList pattern = {
            u"/* Monthly sales per customer and product group"_s,
            u"   for the report footer */"_s,
            u"SELECT c.CustomerId, c.Name AS Customer, g.Title,"_s,
            u"       SUM(o.Quantity * o.UnitPrice) AS Total, COUNT(*) AS Orders,"_s,
            u"       CAST(o.OrderDate AS DATE) AS Day, 'n/a' AS Note"_s,
            u"FROM Customers c"_s,
            u"JOIN Orders o ON o.CustomerId = c.CustomerId"_s,
            u"JOIN Products p ON p.ProductId = o.ProductId // product master"_s,
            u"WHERE o.OrderDate >= {From} AND o.OrderDate < {To}"_s,
            u"  AND c.Country IN ('DE', 'AT', 'CH') AND o.Discount < 0.25"_s,
            u"  AND NOT p.Code = \"X-\\\"1\\\"\" OR p.Flags = 0x1F"_s,
            u"GROUP BY c.CustomerId, c.Name, g.Title"_s,
            u"ORDER BY Total DESC, UPPER(c.Name)"_s,
            QString(),
    };
    QStringList text;
    text.reserve(lines);
    for (int line = 0; line < lines; ++line) {
        const QString &next = pattern.at(line % pattern.size());
        const bool comment = next.contains(u"/*"_s) || next.contains(u"*/"_s);
        text.append(blockComments || !comment ? next : u"-- note"_s);
    }
    return text.join(u'\n');
}

// The edited line: the pattern's "JOIN Orders" line nearest to the middle, so
// that every size parses the same line.
constexpr int editedPatternLine = 6;
constexpr int patternLines = 14;

int MiddleLine(int lines)
{
    const int middle = lines / 2;
    return middle - middle % patternLines + editedPatternLine;
}

double Milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// An editor with a query, shown, with a cursor at the start of the middle
// line. The editor shows about eight lines, so that every size has a full
// view to repaint.
struct KeystrokeFixture
{
    explicit KeystrokeFixture(int lines)
    {
        edit.resize(600, 8 * edit.fontMetrics().lineSpacing());
        edit.setPlainText(Query(lines));
        edit.SetParser(&CSQLSyntaxParser::Shared());
        edit.show();
        cursor = QTextCursor(edit.document()->findBlockByNumber(MiddleLine(lines)));
        edit.setTextCursor(cursor);
        edit.ensureCursorVisible();
        QCoreApplication::processEvents();
    }

    // The mean time of one keystroke in microseconds: inserting a letter at
    // the start of the middle line or deleting it again, `pairs` times each;
    // with `paint` the editor repaints after each keystroke.
    double Time(int pairs, bool paint)
    {
        QElapsedTimer timer;
        timer.start();
        for (int k = 0; k < pairs; ++k) {
            cursor.insertText(u"x"_s);
            if (paint)
                QCoreApplication::processEvents();
            cursor.deletePreviousChar();
            if (paint)
                QCoreApplication::processEvents();
        }
        return double(timer.nsecsElapsed()) / 1e3 / (2 * pairs);
    }

    CSyntaxRichEditCtrl edit;
    QTextCursor cursor;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Typing the "*" of a "/*" at the start of the middle line turns every
// following line into comment; deleting it turns them back.
double MeasureCommentToggle(int lines)
{
    CSyntaxRichEditCtrl edit;
    edit.setPlainText(Query(lines, false));
    edit.SetParser(&CSQLSyntaxParser::Shared());
    QTextCursor cursor(edit.document()->findBlockByNumber(MiddleLine(lines)));
    cursor.insertText(u"/"_s);
    constexpr int repeats = 10;
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < repeats; ++k) {
        cursor.insertText(u"*"_s);
        cursor.deletePreviousChar();
    }
    return Milliseconds(timer) / (2 * repeats);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    constexpr int bigLines = 10000;
    const QString big = Query(bigLines);
    const QStringList bigLinesText = big.split(u'\n');

    QElapsedTimer timer;
    timer.start();
    quint32 state = 0;
    std::vector<CSyntaxParser::Block> blocks;
    for (const QString &line : bigLinesText) {
        blocks.clear();
        blocks.push_back({0, CSyntaxParser::ColourNormalText});
        state = CSQLSyntaxParser::Shared().ParseLine(state, line, &blocks);
    }
    const double parseOnly = Milliseconds(timer);

    CSyntaxRichEditCtrl edit;
    timer.restart();
    edit.setPlainText(big);
    const double load = Milliseconds(timer);
    timer.restart();
    edit.SetParser(&CSQLSyntaxParser::Shared());
    const double colourAll = Milliseconds(timer);

    std::printf("SQL colouring, %d-line query (%lld characters)\n", bigLines,
                static_cast<long long>(big.size()));
    std::printf("  parser alone, all lines:              %8.2f ms\n", parseOnly);
    std::printf("  placing the text uncoloured:          %8.2f ms\n", load);
    std::printf("  colouring it from scratch:            %8.2f ms\n", colourAll);
    // The sizes take turns, round after round, so that a busy moment of the
    // machine does not fall on one size only; each size reports its median.
    constexpr int rounds = 7;
    constexpr int pairs = 300;
    const std::array<int, 3> sizes = {10, 1000, bigLines};
    std::array<std::unique_ptr<KeystrokeFixture>, 3> fixtures;
    for (size_t k = 0; k < sizes.size(); ++k)
        fixtures[k] = std::make_unique<KeystrokeFixture>(sizes[k]);
    std::array<std::vector<double>, 3> editOnly;
    std::array<std::vector<double>, 3> withPaint;
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < sizes.size(); ++k) {
            editOnly[k].push_back(fixtures[k]->Time(pairs, false));
            withPaint[k].push_back(fixtures[k]->Time(pairs, true));
        }
    }
    std::array<double, 3> editMedian {};
    std::array<double, 3> paintMedian {};
    std::printf("\nOne keystroke in the middle line (insert a letter or delete it; view of\n"
                "about 8 lines; median of %d rounds of %d keystrokes)\n",
                rounds, 2 * pairs);
    std::printf("  %7s  %22s  %26s\n", "lines", "edit + colour (us)", "edit + colour + paint (us)");
    for (size_t k = 0; k < sizes.size(); ++k) {
        editMedian[k] = Median(editOnly[k]);
        paintMedian[k] = Median(withPaint[k]);
        std::printf("  %7d  %22.2f  %26.2f\n", sizes[k], editMedian[k], paintMedian[k]);
    }
    std::printf("  ratio 1000/10:   %6.2f  (with paint %6.2f)\n", editMedian[1] / editMedian[0],
                paintMedian[1] / paintMedian[0]);
    std::printf("  ratio 10000/10:  %6.2f  (with paint %6.2f)\n", editMedian[2] / editMedian[0],
                paintMedian[2] / paintMedian[0]);
    std::printf("\nOpening or closing a block comment in the middle of %d lines without\n"
                "other block comments (re-colours the rest): %.2f ms per keystroke\n",
                bigLines, MeasureCommentToggle(bigLines));
    return 0;
}
