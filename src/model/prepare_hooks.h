#pragma once

#include "model/object_kind.h"

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
};

void SetPrepareHooks(IPrepareHooks* hooks);
IPrepareHooks& PrepareHooks();
