#include "vornparameter.h"

#include "vornkind.h"

bool CVornParameter::Matches(const QString &band, const QString &name) const
{
    return SameName(m_band, band) && SameName(m_name, name);
}

CVornParameters::CVornParameters(const CVornParameters &other)
    : CObjectArray<CVornParameter *>()
{
    *this = other;
}

CVornParameters &CVornParameters::operator=(const CVornParameters &other)
{
    if (this == &other)
        return *this;
    RemoveAllAndDelete();
    for (const CVornParameter *parameter : other)
        Add(new CVornParameter(*parameter));
    return *this;
}

int CVornParameters::SetParameter(const QString &band, const QString &name, const QString &value)
{
    for (int i = 0; i < GetCount(); ++i) {
        CVornParameter *parameter = GetAt(i);
        if (parameter->Matches(band, name)) {
            parameter->SetValue(value);
            return i;
        }
    }
    return Add(new CVornParameter(band, name, value));
}

CVornParameter *CVornParameters::Find(const QString &band, const QString &name) const
{
    for (CVornParameter *parameter : *this) {
        if (parameter->Matches(band, name))
            return parameter;
    }
    return nullptr;
}
