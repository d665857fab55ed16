#pragma once

#include "objectarray.h"

#include <QString>

#include <vector>

// A stored value for one query entry of one band. A parameter is identified by
// the band name and the entry name, letter case ignored.
class CVornParameter
{
public:
    CVornParameter() = default;
    CVornParameter(const QString &band, const QString &name, const QString &value)
        : m_band(band)
        , m_name(name)
        , m_value(value)
    { }

    const QString &GetBand() const { return m_band; }
    void SetBand(const QString &band) { m_band = band; }
    const QString &GetName() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    const QString &GetValue() const { return m_value; }
    void SetValue(const QString &value) { m_value = value; }

    bool Matches(const QString &band, const QString &name) const;

private:
    QString m_band;
    QString m_name;
    QString m_value;
};

// The parameters in insertion order. Unlike the other owning arrays it can be
// copied: a copy holds copies of the parameters (the Run command and the
// parameters dialog work on copies).
class CVornParameters : public CObjectArray<CVornParameter *>
{
public:
    CVornParameters() = default;
    CVornParameters(const CVornParameters &other);
    CVornParameters &operator=(const CVornParameters &other);
    CVornParameters(CVornParameters &&) noexcept = default;
    CVornParameters &operator=(CVornParameters &&) noexcept = default;
    ~CVornParameters() { RemoveAllAndDelete(); }

    // Sets the value of the parameter (band, name), letter case ignored, or
    // appends a new one; returns its index. No value means the empty value.
    int SetParameter(const QString &band, const QString &name, const QString &value = QString());

    // SetParameter for each of `parameters` in order, in time that grows
    // linearly with their number (a template may list very many).
    void SetParameters(const std::vector<CVornParameter> &parameters);

    // The parameter (band, name), letter case ignored, or null.
    CVornParameter *Find(const QString &band, const QString &name) const;
};
