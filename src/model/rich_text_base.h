#pragma once

#include "model/effect_zone.h"
#include "model/image_key_params.h"

#include <QString>

enum VerticalAlign : int { AlignMiddle = 1, AlignTop = 2, AlignBottom = 3 };

// Zones whose content is a rich-text document (text and animate zones).
class CRichTextBase : public CEffectZone
{
public:
    explicit CRichTextBase(CProjectObject* parent);
    ~CRichTextBase() override;

    void VisitProperties(CPropertyIo& io) override;

    const QString& GetRtf() const { return m_rtf; }
    void SetRtf(const QString& rtf) { m_rtf = rtf; }
    int GetTopSpace() const { return m_topSpace; }
    void SetTopSpace(int space) { m_topSpace = space; }
    int GetLineSpace() const { return m_lineSpace; } // 0 automatic
    void SetLineSpace(int space) { m_lineSpace = space; }
    int GetVerticalAlign() const { return m_verticalAlign; }
    void SetVerticalAlign(int align) { m_verticalAlign = align; }
    ImageKeyParams& PictureKey() { return m_pictureKey; }
    const ImageKeyParams& PictureKey() const { return m_pictureKey; }

private:
    ImageKeyParams m_pictureKey;
    std::int32_t m_topSpace = 0;
    std::int32_t m_lineSpace = 0;
    std::int32_t m_verticalAlign = AlignMiddle;
    QString m_rtf;
};
