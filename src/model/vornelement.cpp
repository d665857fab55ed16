#include "vornelement.h"

#include <QCoreApplication>

void CVornElement::Reset()
{
    m_name.clear();
    m_selected = false;
    m_kind = VornKind::None;
}

bool CVornElement::Validate(QString &message) const
{
    if (GetKind() == VornKind::None) {
        message = QCoreApplication::translate("Vantel", "Unspecified item type");
        return false;
    }
    if (m_name.isEmpty()) {
        message = QCoreApplication::translate("Vantel", "The NAME property is not specified");
        return false;
    }
    return true;
}

void CVornElement::CopyFrom(const CVornElement &other)
{
    m_name = other.m_name;
    m_selected = other.m_selected;
    m_kind = other.m_kind;
}
