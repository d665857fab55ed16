#pragma once

#include <QString>

#include <functional>

// One rule of validation that a report breaks: the band and item it concerns (-1 for none),
// the property of that object at fault (where one is) and the message validation gives for it.
struct CValidationFault
{
    enum class Property { None, Name, Height, Query, GroupHeader, GroupFooter };

    int band = -1;
    int item = -1;
    QString message;
    Property property = Property::None;

    friend bool operator==(const CValidationFault &, const CValidationFault &) = default;
};

// Told one validation fault; returns whether to go on to the next.
using ValidationVisitor = std::function<bool(const CValidationFault &fault)>;
