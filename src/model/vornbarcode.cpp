#include "vornbarcode.h"

void CVornBarcode::VisitFields(CFieldVisitor &fields)
{
    VisitBarcodeFields(fields, CFieldVisitor::Saved::Yes);
}

void CVornBarcode::VisitBarcodeFields(CFieldVisitor &fields, CFieldVisitor::Saved valueSaved)
{
    CVornItem::VisitFields(fields);
    fields.Field("barcode", m_barcode, valueSaved);
    fields.Field("symbology", m_symbology, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("ecc_level", m_eccLevel, CFieldVisitor::Saved::IfNotDefault);
    fields.Field("show_text", m_showText, CFieldVisitor::Saved::IfNotDefault);
}
