#pragma once

#include "model/rich_text_base.h"

// Rich text, cut into pages. The one zone kind that may also stand directly in a program.
class CTextZone final : public CRichTextBase
{
public:
    explicit CTextZone(CProjectObject* parent);
    int GetKind() const override { return KindText; }
    int GetImageIndex() const override { return 2; }
};
