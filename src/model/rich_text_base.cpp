#include "model/rich_text_base.h"

#include "base/string_table.h"
#include "model/property_io.h"

#include <climits>

CRichTextBase::CRichTextBase(CProjectObject* parent) : CEffectZone(parent), m_rtf(LoadString(41078))
{}

CRichTextBase::~CRichTextBase() = default;

void CRichTextBase::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    io.Text("rtf", m_rtf, INT_MAX);
    io.Int("va", m_verticalAlign);
    io.Int("icc", m_pictureKey.keyColour);
    io.Int("inl", m_pictureKey.pixelLimit);
    io.Int("inr", m_pictureKey.tolerance);
    io.Text("isf", m_pictureKey.sourcePath, ImageKeyParams::kPathCapacity);
    io.Int("line", m_lineSpace);
    io.Int("top", m_topSpace);
}
