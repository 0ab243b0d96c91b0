#include "render/compiled_schedule.h"

#include "config/model_info.h"
#include "model/page_rules.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/compile_layout.h"

#include <algorithm>

CompiledSchedule CompileSchedule(const ProgramSchedule& schedule)
{
    CompiledSchedule compiled;
    compiled.playTime = std::max(schedule.playTime, layout::kMinPlayTime);
    compiled.playMode = schedule.playMode;
    compiled.weekdays = (schedule.weekdays & 0x80) ? 0xFF : schedule.weekdays;
    const bool anyDay = static_cast<std::int32_t>(schedule.firstDay) < 0;
    compiled.firstDay = anyDay ? 0 : schedule.firstDay;
    compiled.lastDay = anyDay ? 0xFFFFFFFFu : schedule.lastDay;
    const bool anyTime = static_cast<std::int32_t>(schedule.startTime) < 0;
    compiled.startTime = anyTime ? 0 : schedule.startTime;
    compiled.endTime = anyTime ? 0xFFFFFFFFu : schedule.endTime;
    return compiled;
}

CompiledSchedule CompileSchedule(const CProgram& program)
{
    ProgramSchedule schedule = program.Schedule();
    const CProjectObject* screen = program.Parent();
    if (screen && screen->GetKind() == KindScreen) {
        CModelInfo model;
        if (model.AssignFromIdentity(static_cast<const CScreen*>(screen)->Identity()) &&
            model.IsBasicModel())
            PageRules::ApplyBasicModelSchedule(schedule);
    }
    return CompileSchedule(schedule);
}
