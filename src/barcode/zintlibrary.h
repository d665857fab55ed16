#pragma once

#include <zint.h>

class QString;

// The calls of the zint barcode library that the barcodes need, found in the library when the
// first symbol is encoded rather than when the program starts: the designer and vantel-render
// start, and print every other item, on a machine without it.
struct CZintLibrary
{
    decltype(&::ZBarcode_Create) create = nullptr;
    decltype(&::ZBarcode_Clear) clear = nullptr;
    decltype(&::ZBarcode_Delete) destroy = nullptr;
    decltype(&::ZBarcode_Encode) encode = nullptr;
    decltype(&::ZBarcode_Encode_and_Buffer_Vector) encodeVector = nullptr;

    // Opens the library named as the system's loader knows it ("libzint.so.2.11") and finds
    // every call above in it. False with message saying why when the library is missing or
    // lacks one of them; the library stays open for the rest of the process.
    bool Load(const char *library, QString &message);

    // The library the program was built with, opened once for the whole process; null, with
    // message, when it cannot be used.
    static const CZintLibrary *Shared(QString &message);
};
