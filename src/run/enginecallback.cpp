#include "enginecallback.h"

#include "vornparameter.h"

#include <QString>

#include <algorithm>

extern "C" int AnswerParameterValue(const char16_t *band, const char16_t *name, char16_t *value,
                                    void *context)
{
    // Nothing may be thrown back into the engine's C code.
    try {
        const auto *parameters = static_cast<const CVornParameters *>(context);
        if (!parameters || !band || !name || !value)
            return 1;
        const CVornParameter *parameter
                = parameters->Find(QString::fromUtf16(band), QString::fromUtf16(name));
        if (!parameter || parameter->GetValue().isEmpty())
            return 1;

        // The engine's buffer holds VNT_VALUE_CHARS units: a longer value is
        // cut, and never between the two halves of a surrogate pair.
        const QString &text = parameter->GetValue();
        qsizetype length = std::min<qsizetype>(text.size(), VNT_VALUE_CHARS - 1);
        if (length < text.size() && length > 0 && text.at(length - 1).isHighSurrogate())
            --length;
        std::copy_n(text.utf16(), length, value);
        value[length] = u'\0';
    } catch (...) { }
    return 1;
}
