#include "model/live_zone_defaults.h"

#include "base/app_settings.h"
#include "model/effect_zone.h"

void ApplyLiveZoneHold(CEffectZone& zone, int holdPerSecond)
{
    zone.SetAction(ActionDirect);
    zone.SetHold(Settings().delay * holdPerSecond);
}
