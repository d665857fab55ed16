#include "xlsxlibrary.h"

#include <QCoreApplication>
#include <QString>

#include <dlfcn.h>

#include <type_traits>

bool CXlsxLibrary::Load(const char *library, QString &message)
{
    *this = {};
    void *handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        message = QCoreApplication::translate("CXlsxLibrary",
                                              "the XLSX library cannot be loaded (%1)")
                          .arg(QString::fromLocal8Bit(dlerror()));
        return false;
    }
    const char *missing = nullptr;
    const auto find = [handle, &missing](const char *name, auto &call) {
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(handle, name));
        if (!call && !missing)
            missing = name;
    };
    find("workbook_new_opt", workbook_new_opt);
    find("workbook_add_worksheet", workbook_add_worksheet);
    find("workbook_add_format", workbook_add_format);
    find("workbook_close", workbook_close);
    find("lxw_workbook_free", lxw_workbook_free);
    find("workbook_set_properties", workbook_set_properties);
    find("format_set_bold", format_set_bold);
    find("format_set_num_format", format_set_num_format);
    find("worksheet_write_string", worksheet_write_string);
    find("worksheet_write_number", worksheet_write_number);
    find("worksheet_write_datetime", worksheet_write_datetime);
    find("lxw_strerror", lxw_strerror);
    if (!missing)
        return true;
    *this = {};
    message = QCoreApplication::translate("CXlsxLibrary", "the XLSX library %1 has no function %2")
                      .arg(QString::fromLocal8Bit(library), QString::fromLatin1(missing));
    return false;
}

const CXlsxLibrary *CXlsxLibrary::Shared(QString &message)
{
    struct Opened
    {
        CXlsxLibrary library;
        QString message;
        bool loaded = false;
    };
    static const Opened opened = [] {
        Opened result;
        result.loaded = result.library.Load(VANTEL_XLSXWRITER_SONAME, result.message);
        return result;
    }();
    if (!opened.loaded) {
        message = opened.message;
        return nullptr;
    }
    return &opened.library;
}
