#pragma once

#include "model/effect_zone.h"
#include "model/image_key_params.h"

#include <vector>

// A picture, or the frames of an animated picture (at most 254), stretched to the window.
class CImageZone final : public CEffectZone
{
public:
    static constexpr int kMaxFrames = 254;

    explicit CImageZone(CProjectObject* parent);
    int GetKind() const override { return KindImage; }
    int GetImageIndex() const override { return 5; }
    void VisitProperties(CPropertyIo& io) override;
    std::uint32_t GetPageHold(int page) const override;

    // key colour, tolerance, pixel limit and path; "extra" is the speed adjustment.
    ImageKeyParams& Key() { return m_key; }
    const ImageKeyParams& Key() const { return m_key; }
    // Frame delays of an animated image, hundredths of a second; empty for a still one.
    std::vector<int>& FrameDelays() { return m_frameDelays; }
    const std::vector<int>& FrameDelays() const { return m_frameDelays; }

private:
    ImageKeyParams m_key;
    std::vector<int> m_frameDelays;
};
