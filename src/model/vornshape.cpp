#include "vornshape.h"

void CVornShape::VisitKindFields(CFieldVisitor &fields)
{
    fields.Field("bk_color", m_bkColor);
    fields.Field("line_style", m_lineStyle);
    fields.Field("line_width", m_lineWidth);
    fields.Field("shape_type", m_shapeType);
}
