#pragma once

#include <QString>

// The symbologies a Barcode or DB Barcode item prints, by the code the template stores. EAN-13
// is drawn by the program itself; the others are encoded by the barcode library.
namespace BarcodeSymbology {
enum : int {
    Ean13 = 0,
    Code128 = 1,
    Gs1_128 = 2,
    QrCode = 3,
    DataMatrix = 4,
    Pdf417 = 5,
    Ean8 = 6,
    UpcA = 7,
    Code39 = 8,
    Itf14 = 9,
    Count = 10,
};

// Whether the code is one of the above.
bool IsKnown(int symbology);

// Whether the symbol is a matrix or a stack of rows that keeps its modules square and prints
// no human-readable line (QR Code, DataMatrix, PDF417).
bool IsTwoDimensional(int symbology);

// The display name ("EAN-13", "Code 128", ...), or the empty text for an unknown code.
QString Name(int symbology);

// The display name of a QR Code error correction level (0 "L (7%)" to 3 "H (30%)"), or the
// empty text for any other code.
QString EccLevelName(int level);
constexpr int EccLevelCount = 4;

// A value the symbology encodes, which the design view shows where the item has none.
QString SampleValue(int symbology);
} // namespace BarcodeSymbology
