#pragma once

#include "model/led_bitmap.h"
#include "model/led_rect.h"
#include "model/project_object.h"

#include <cstdint>
#include <memory>
#include <vector>

// Entry-effect codes with a rule of their own.
enum EffectAction : int {
    ActionRandom = 0,
    ActionDirect = 1,
    ActionAlwaysHold = 2,
    ActionContinuousMoveLeft = 3,
    ActionMoveLeft = 4,
    ActionMoveRight = 5,
};

// Base of every zone: the entry-effect settings and the rendered pages.
class CEffectZone : public CProjectObject
{
public:
    static constexpr std::uint32_t kHoldForever = 0xFFFF;

    explicit CEffectZone(CProjectObject* parent);
    ~CEffectZone() override;

    void Prepare(RenderForm form) override;
    void VisitProperties(CPropertyIo& io) override;

    int GetAction() const { return m_action; }
    void SetAction(int action) { m_action = action; }
    int GetSpeed() const { return m_speed; }
    void SetSpeed(int speed) { m_speed = speed; }
    int GetHold() const { return m_hold; }
    void SetHold(int hold) { m_hold = hold; }
    int GetFlash() const { return m_flash; }
    void SetFlash(int flash) { m_flash = flash; }
    int GetFlashDelay() const { return m_flashDelay; }
    void SetFlashDelay(int delay) { m_flashDelay = delay; }
    int GetRepeat() const { return m_repeat; }
    void SetRepeat(int repeat) { m_repeat = repeat; }
    int GetClearMode() const { return m_clearMode; }
    void SetClearMode(int mode) { m_clearMode = mode; }

    // Hold written for one page, in hundredths of a second (0 continuous, 0xFFFF hold).
    virtual std::uint32_t GetPageHold(int page) const;

    // Rendered pages.
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CLedBitmap* GetPage(int index) const;
    void ClearPages() { m_pages.clear(); }
    void AddPage(std::unique_ptr<CLedBitmap> page) { m_pages.push_back(std::move(page)); }
    std::vector<std::unique_ptr<CLedBitmap>>& Pages() { return m_pages; }
    // The form the pages were last rendered in (the renderer records it).
    RenderForm PagesForm() const { return m_pagesForm; }
    void SetPagesForm(RenderForm form) { m_pagesForm = form; }

    // The rectangle of the window the zone plays in (the whole screen for a zone placed
    // directly in a program; 64 x 32 when there is no screen above).
    LedRect WindowRect() const;
    // The screen's colour depth (1 to 3), 1 when there is no screen above.
    int ColourDepth() const;

protected:
    std::int32_t m_speed = 1;
    std::int32_t m_hold = 100;
    std::int32_t m_action = ActionContinuousMoveLeft;
    std::int32_t m_flash = 0;
    std::int32_t m_flashDelay = 0;
    std::int32_t m_repeat = 1;
    std::int32_t m_clearMode = 0;

private:
    std::vector<std::unique_ptr<CLedBitmap>> m_pages;
    RenderForm m_pagesForm = RenderForm::Display;
};
