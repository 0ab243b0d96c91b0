#include "model/text_zone.h"

CTextZone::CTextZone(CProjectObject* parent) : CRichTextBase(parent)
{
    AssignDefaultName(41002, KindText);
}
