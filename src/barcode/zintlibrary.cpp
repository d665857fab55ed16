#include "zintlibrary.h"

#include <QCoreApplication>
#include <QString>

#include <dlfcn.h>

#include <type_traits>

bool CZintLibrary::Load(const char *library, QString &message)
{
    *this = {};
    void *handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        message = QCoreApplication::translate("CZintLibrary",
                                              "the barcode library cannot be loaded (%1)")
                          .arg(QString::fromLocal8Bit(dlerror()));
        return false;
    }
    const char *missing = nullptr;
    const auto find = [handle, &missing](const char *name, auto &call) {
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(handle, name));
        if (!call && !missing)
            missing = name;
    };
    find("ZBarcode_Create", create);
    find("ZBarcode_Clear", clear);
    find("ZBarcode_Delete", destroy);
    find("ZBarcode_Encode", encode);
    find("ZBarcode_Encode_and_Buffer_Vector", encodeVector);
    if (!missing)
        return true;
    *this = {};
    message = QCoreApplication::translate("CZintLibrary",
                                          "the barcode library %1 has no function %2")
                      .arg(QString::fromLocal8Bit(library), QString::fromLatin1(missing));
    return false;
}

const CZintLibrary *CZintLibrary::Shared(QString &message)
{
    struct Opened
    {
        CZintLibrary library;
        QString message;
        bool loaded = false;
    };
    static const Opened opened = [] {
        Opened result;
        result.loaded = result.library.Load(VANTEL_ZINT_SONAME, result.message);
        return result;
    }();
    if (!opened.loaded) {
        message = opened.message;
        return nullptr;
    }
    return &opened.library;
}
