#pragma once

#include "model/object_kind.h"

#include <vector>

class CEffectZone;
class CProgram;

// Rendering lives a level above the model. The renderer installs itself here; until it
// does, zones get one black page the size of their window and borders stay off.
class IPrepareHooks
{
public:
    virtual ~IPrepareHooks() = default;
    virtual void PrepareZone(CEffectZone& zone, RenderForm form) = 0;
    virtual void PrepareBorder(CProgram& program, RenderForm form) = 0;
    // Renders each zone as PrepareZone does (not their children). Zones render
    // independently of each other, so a renderer may spread them over threads; this one
    // renders them in order.
    virtual void PrepareZones(const std::vector<CEffectZone*>& zones, RenderForm form);
};

void SetPrepareHooks(IPrepareHooks* hooks);
IPrepareHooks& PrepareHooks();
