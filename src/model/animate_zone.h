#pragma once

#include "model/rich_text_base.h"

#include <vector>

// Rich text played as one of eight built-in animations.
class CAnimateZone final : public CRichTextBase
{
public:
    explicit CAnimateZone(CProjectObject* parent);
    int GetKind() const override { return KindAnimate; }
    int GetImageIndex() const override { return 6; }
    void VisitProperties(CPropertyIo& io) override;
    // The rendered hold of the page, or hold 1 beyond the rendered list.
    std::uint32_t GetPageHold(int page) const override;

    int GetAnimationType() const { return m_type; }
    void SetAnimationType(int type) { m_type = type; }
    int GetMaxStep() const { return m_maxStep; }
    void SetMaxStep(int step) { m_maxStep = step; }
    int GetHold1() const { return m_hold1; }
    void SetHold1(int hold) { m_hold1 = hold; }
    int GetHold2() const { return m_hold2; }
    void SetHold2(int hold) { m_hold2 = hold; }
    std::vector<std::uint32_t>& PageHolds() { return m_pageHolds; }
    const std::vector<std::uint32_t>& PageHolds() const { return m_pageHolds; }

private:
    std::int32_t m_type = 0;
    std::int32_t m_maxStep = 16;
    std::int32_t m_hold1 = 20;
    std::int32_t m_hold2 = 60;
    std::vector<std::uint32_t> m_pageHolds;
};
