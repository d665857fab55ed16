#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// One barcode symbol laid out in an item's box, as the engine's pages and the design view draw
// it: units are hundredths of a millimetre from the box's top left corner. A linear symbol
// spans the box's width with its quiet zones and its bars reach down to its human-readable
// line at the bottom; a two-dimensional one keeps its modules square and is centred.
//
// The bars are kept in the symbol's own units, where a module is one unit wide and the rows of a
// two-dimensional symbol are whole units high, so that their edges are whole numbers: a PDF
// writes each in a digit or two. One unit of the symbol is scale units of the box, starting at
// origin. They are the library's rectangles: the runs of a row, and equal runs of consecutive rows,
// each one.
struct CBarcodeDrawing
{
    struct Text
    {
        QPointF at; // on the text's baseline: its centre, start or end as align says
        double size = 0; // the font's pixel size in units
        int align = 0; // 0 centred on at, 1 starting at it, 2 ending at it
        QString text;

        friend bool operator==(const Text &, const Text &) = default;
    };

    QRectF area; // the symbol with its quiet zones, white under the bars
    QPointF origin; // the symbol's (0, 0) in the box
    double scale = 1; // units of the box per unit of the symbol
    std::vector<QRectF> bars; // the dark modules in the symbol's units
    std::vector<Text> texts;

    // A bar in units of the box.
    QRectF InBox(const QRectF &bar) const
    {
        return {origin.x() + bar.x() * scale, origin.y() + bar.y() * scale, bar.width() * scale,
                bar.height() * scale};
    }

    friend bool operator==(const CBarcodeDrawing &, const CBarcodeDrawing &) = default;
};

// How an item prints its value.
struct CBarcodeOptions
{
    int symbology = 0; // BarcodeSymbology
    int eccLevel = 1; // of a QR Code: 0 L, 1 M, 2 Q, 3 H
    bool showText = true; // of a linear symbol: the human-readable line
};

// Encodes value in the symbology of options (any but EAN-13, which the program draws itself)
// and lays the symbol out in a box of width by height units. False, with problem saying why in
// the barcode library's words, when the value cannot be encoded (a letter in an EAN-8, a wrong
// check digit, too much data for the symbol), the symbology is unknown or the library cannot be
// loaded.
bool MakeBarcodeDrawing(const CBarcodeOptions &options, QStringView value, double width,
                        double height, CBarcodeDrawing &drawing, QString &problem);

// MakeBarcodeDrawing, keeping the drawings last made on this thread: a value printed again in
// a box of the same size (a code repeated on many rows, a fixed symbol on every page) is encoded
// once and its drawing shared. Null, with problem, when the value cannot be encoded.
std::shared_ptr<const CBarcodeDrawing> SharedBarcodeDrawing(const CBarcodeOptions &options,
                                                            QStringView value, double width,
                                                            double height, QString &problem);
