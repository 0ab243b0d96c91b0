#include "model/object_kind.h"

QString KindWord(int kind)
{
    switch (kind) {
    case KindRoot:
        return QStringLiteral("project");
    case KindScreen:
        return QStringLiteral("screen");
    case KindProgram:
        return QStringLiteral("program");
    case KindWindow:
        return QStringLiteral("window");
    case KindText:
        return QStringLiteral("text");
    case KindImage:
        return QStringLiteral("image");
    case KindAnimate:
        return QStringLiteral("animate");
    case KindTable:
        return QStringLiteral("table");
    case KindClock:
        return QStringLiteral("clock");
    case KindDateTime:
        return QStringLiteral("date-time");
    case KindTemperature:
        return QStringLiteral("temperature");
    case KindCountdown:
        return QStringLiteral("countdown");
    default:
        return {};
    }
}
