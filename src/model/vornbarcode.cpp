#include "vornbarcode.h"

void CVornBarcode::VisitKindFields(CFieldVisitor &fields)
{
    VisitValueField(fields, CFieldVisitor::Saved::Yes);
    VisitSymbolFields(fields);
}

void CVornBarcode::VisitValueField(CFieldVisitor &fields, CFieldVisitor::Saved valueSaved)
{
    fields.Field("barcode", m_barcode, valueSaved);
}

void CVornBarcode::VisitSymbolFields(CFieldVisitor &fields)
{
    fields.Field("symbology", m_symbology, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("ecc_level", m_eccLevel, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("show_text", m_showText, CFieldVisitor::Saved::IfNotDefault);
}
