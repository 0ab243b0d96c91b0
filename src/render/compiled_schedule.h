#pragma once

#include <cstdint>

class CProgram;
struct ProgramSchedule;

// A program's schedule as the compiler writes it into the screen data and the controller
// reads it: every "no limit" mark is replaced by the widest limit.
struct CompiledSchedule
{
    std::uint16_t playTime = 0;  // seconds, at least 3
    std::uint8_t playMode = 0;   // 0 in order, 1 timing
    std::uint8_t weekdays = 0;   // bit 0 Sunday ... bit 6 Saturday; 0xFF every day
    std::uint32_t firstDay = 0;  // days since 1970-01-01
    std::uint32_t lastDay = 0;   // 0xFFFFFFFF without a date limit
    std::uint32_t startTime = 0; // seconds after midnight
    std::uint32_t endTime = 0;   // 0xFFFFFFFF without a time limit
};

CompiledSchedule CompileSchedule(const ProgramSchedule& schedule);
// The program's schedule as its controller plays it: a basic model has no date, time or
// week limits, so they are compiled off whatever the project holds.
CompiledSchedule CompileSchedule(const CProgram& program);
