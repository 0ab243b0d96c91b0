#include "render/play_clock.h"

IPlayClock& WallPlayClock()
{
    static CWallPlayClock clock;
    return clock;
}
