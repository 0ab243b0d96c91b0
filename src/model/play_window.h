#pragma once

#include "model/led_rect.h"
#include "model/project_object.h"

#include <cstdint>

struct WindowFrame
{
    std::uint16_t enabled = 0; // 1 whenever a frame type other than "None" is chosen
    std::uint16_t type = 0;
    std::uint16_t speed = 3;
    std::uint16_t direction = 0;
    std::uint16_t colour = 1; // 0 random, else a colour index
};

// A rectangle of the screen that plays its zones one after another. A window with fore 0
// is implicit: it only carries one zone placed directly in a program.
class CPlayWindow : public CProjectObject
{
public:
    static constexpr int kMaxZones = 200;

    explicit CPlayWindow(CProjectObject* parent);
    ~CPlayWindow() override;

    int GetKind() const override { return KindWindow; }
    int GetImageIndex() const override { return 10; }
    void VisitProperties(CPropertyIo& io) override;

    const LedRect& WindowRect() const { return m_rect; }
    // Accepted only when left < right and top < bottom; otherwise the old one stays.
    bool SetWindowRect(const LedRect& rect);
    int Width() const { return m_rect.Width(); }
    int Height() const { return m_rect.Height(); }

    WindowFrame& Frame() { return m_frame; }
    const WindowFrame& Frame() const { return m_frame; }

private:
    LedRect m_rect;
    WindowFrame m_frame;
    // Set while a loaded window has no rectangle of its own yet: working the default out
    // scans every sibling, which would make loading quadratic in the number of windows.
    bool m_defaultRectPending = false;
};
