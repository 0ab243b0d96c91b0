#include "model/prepare_hooks.h"

#include "model/effect_zone.h"
#include "model/program.h"

namespace {

class PlaceholderHooks final : public IPrepareHooks
{
public:
    void PrepareZone(CEffectZone& zone, RenderForm) override
    {
        const LedRect rect = zone.WindowRect();
        zone.ClearPages();
        zone.AddPage(std::make_unique<CLedBitmap>(rect.Width(), rect.Height()));
    }
    void PrepareBorder(CProgram& program, RenderForm) override { program.SetBorderWidth(0); }
};

PlaceholderHooks g_placeholder;
IPrepareHooks* g_hooks = &g_placeholder;

} // namespace

void IPrepareHooks::PrepareZones(const std::vector<CEffectZone*>& zones, RenderForm form)
{
    for (CEffectZone* zone : zones)
        PrepareZone(*zone, form);
}

void SetPrepareHooks(IPrepareHooks* hooks)
{
    g_hooks = hooks ? hooks : &g_placeholder;
}

IPrepareHooks& PrepareHooks()
{
    return *g_hooks;
}
