#include "render/program_player.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/led_paint.h"
#include "render/play_clock.h"
#include "render/sign_picture.h"

namespace {

const CScreen* ScreenOf(const CProgram* program)
{
    for (const CProjectObject* object = program; object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object);
    }
    return nullptr;
}

} // namespace

CProgramPlayer::CProgramPlayer(IRandomSource* random, IPlayClock* clock)
    : m_random(random), m_clock(clock ? clock : &WallPlayClock())
{}

void CProgramPlayer::Start(CProgram* program)
{
    m_program = program;
    m_windows.clear();
    if (!program)
        return;
    const CScreen* screen = ScreenOf(program);
    const int planes = screen ? screen->ColourDepth() : 1;
    for (int i = 0; i < program->GetChildCount(); ++i) {
        CProjectObject* child = program->GetChild(i);
        if (child->GetKind() != KindWindow)
            continue;
        auto player = std::make_unique<CWindowPlayer>(m_random, m_clock);
        player->Bind(static_cast<CPlayWindow*>(child), planes);
        player->StartPlay();
        m_windows.push_back(std::move(player));
    }
}

void CProgramPlayer::Tick()
{
    for (auto& window : m_windows)
        window->Tick();
    m_clock->Advance(CWindowPlayer::kTickMs);
}

bool CProgramPlayer::AllZonesShown() const
{
    for (const auto& window : m_windows) {
        if (!window->HasShownAllZones())
            return false;
    }
    return true;
}

bool CProgramPlayer::HasSomethingToPlay() const
{
    for (const auto& window : m_windows) {
        for (int z = 0; CEffectZone* zone = CWindowPlayer::ZoneAt(window->Window(), z); ++z) {
            if (zone->GetPageCount() > 0 && !window->Output().isNull())
                return true;
        }
    }
    return false;
}

QImage CProgramPlayer::ComposeScreen() const
{
    const CScreen* screen = ScreenOf(m_program);
    QImage image = BlackImage(screen ? screen->Width() : 0, screen ? screen->Height() : 0);
    if (image.isNull())
        return image;
    DrawCardBorder(image, *m_program);
    for (const auto& window : m_windows) {
        const LedRect& rect = window->Window()->WindowRect();
        const QImage& output = window->Output();
        if (!output.isNull())
            CopyRect(image, rect.left, rect.top, output, 0, 0, output.width(), output.height());
    }
    return image;
}
