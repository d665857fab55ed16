#pragma once

#include <QHashFunctions>
#include <QStringView>

// A name used as a hash key that ignores letter case, as every name comparison
// of the report does, without making a case-folded copy of it. It refers to
// the text it was made from, which must outlive the key.
struct CNameKey
{
    QStringView name;
};

inline bool operator==(CNameKey a, CNameKey b)
{
    return a.name.compare(b.name, Qt::CaseInsensitive) == 0;
}

// Names equal under operator== get the same hash: each character is hashed
// case-folded, as the comparison folds it.
size_t qHash(CNameKey key, size_t seed = 0) noexcept;
