#pragma once

#include <xlsxwriter.h>

class QString;

// The calls of libxlsxwriter that the XLSX export makes, found in the library when the first
// workbook is written rather than when the program starts. With the compression and
// cryptography libraries it brings, the library would otherwise be loaded, and its start-up
// code run, by every start of the designer and of vantel-render, most of which never write a
// workbook.
struct CXlsxLibrary
{
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::workbook_set_properties) workbook_set_properties = nullptr;
    decltype(&::lxw_workbook_free) lxw_workbook_free = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::format_set_num_format) format_set_num_format = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_write_datetime) worksheet_write_datetime = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;

    // Opens the library named as the system's loader knows it ("libxlsxwriter.so.4") and finds
    // every call above in it. False with message saying why when the library is missing or
    // lacks one of them; the library stays open for the rest of the process.
    bool Load(const char *library, QString &message);

    // The library the program was built with, opened once for the whole process; null, with
    // message, when it cannot be used.
    static const CXlsxLibrary *Shared(QString &message);
};
