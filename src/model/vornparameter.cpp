#include "vornparameter.h"

#include "vornkind.h"

#include <QHash>

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

void CVornParameters::SetParameters(const std::vector<CVornParameter> &parameters)
{
    // Case folding gives equal keys exactly where SameName sees equal names.
    const auto key = [](const QString &band, const QString &name) {
        return std::pair(band.toCaseFolded(), name.toCaseFolded());
    };
    QHash<std::pair<QString, QString>, int> index;
    index.reserve(GetCount() + qsizetype(parameters.size()));
    for (int i = 0; i < GetCount(); ++i)
        index.emplace(key(GetAt(i)->GetBand(), GetAt(i)->GetName()), i);
    for (const CVornParameter &parameter : parameters) {
        const auto found = index.constFind(key(parameter.GetBand(), parameter.GetName()));
        if (found != index.constEnd()) {
            GetAt(*found)->SetValue(parameter.GetValue());
        } else {
            index.emplace(key(parameter.GetBand(), parameter.GetName()),
                          Add(new CVornParameter(parameter)));
        }
    }
}

CVornParameter *CVornParameters::Find(const QString &band, const QString &name) const
{
    for (CVornParameter *parameter : *this) {
        if (parameter->Matches(band, name))
            return parameter;
    }
    return nullptr;
}
