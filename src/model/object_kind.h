#pragma once

#include <QString>

// Kind codes of the project objects, as stored in the project file ("varno").
enum ObjectKind : int {
    KindRoot = 0,
    KindText = 1,
    KindImage = 2,
    KindAnimate = 3,
    KindTable = 4,
    KindClock = 10,
    KindDateTime = 11,
    KindTemperature = 12,
    KindCountdown = 13,
    KindWindow = 100,
    KindProgram = 110,
    KindScreen = 120,
};

// The word for a kind in messages and reports ("screen", "date-time", ...); empty for a
// kind the program does not know.
QString KindWord(int kind);

// Any kind from 1 to 20 counts as a zone, known or not.
constexpr bool IsZoneKind(int kind)
{
    return kind >= 1 && kind <= 20;
}

// Which form Prepare renders: what the controller receives, or what the editor shows.
// The numeric values are the flag the rest of the system passes around.
enum class RenderForm : int { Controller = 0, Display = 1 };
