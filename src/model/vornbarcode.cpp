#include "vornbarcode.h"

void CVornBarcode::VisitFields(CFieldVisitor &fields)
{
    VisitBarcodeFields(fields, CFieldVisitor::Saved::Yes);
}

void CVornBarcode::VisitBarcodeFields(CFieldVisitor &fields, CFieldVisitor::Saved valueSaved)
{
    CVornItem::VisitFields(fields);
    fields.Field("barcode", m_barcode, valueSaved);
}
