#pragma once

class CEffectZone;

// Zones whose values the controller draws live (clock, date-time, temperature,
// countdown) start with the hold of the "delay" setting and always enter directly.
void ApplyLiveZoneHold(CEffectZone& zone, int holdPerSecond);
