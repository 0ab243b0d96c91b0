#pragma once

#include <QString>
#include <QStringList>

class CEffectZone;
class CProgram;
class CProjectRoot;

// Names a zone from a script, in one of two forms:
//   by names   "Screen/Program/Window/Zone", or "Screen/Program/Zone" for a zone that
//              stands directly in its program (its implicit window is not named);
//   by numbers "s1/p2/w1/z1", every part counted from 1 in play order, implicit windows
//              counted among the windows.
// A "/" inside a name is written "\/" and a backslash "\\". A path whose every part has
// its level's letter and a number is taken by numbers, any other by names.
class CZonePath
{
public:
    // The parts of a path with their escapes removed; false with a reason when an escape is
    // incomplete or a part is empty.
    static bool Split(const QString& path, QStringList& parts, QString& error);
    // A name as it is written in a path.
    static QString Escape(const QString& name);
    // The path by names of a zone of a project.
    static QString NameOf(const CEffectZone& zone);
    // The path by numbers of a zone of a project ("s1/p2/w1/z1").
    static QString NumbersOf(const CEffectZone& zone);

    // The zone the path names; null with a reason (which names what exists at the level
    // where the path went wrong) when there is none or more than one.
    static CEffectZone* Find(CProjectRoot& root, const QString& path, QString& error);
    // The program "Screen/Program" or "s1/p2" names, the same way.
    static CProgram* FindProgram(CProjectRoot& root, const QString& path, QString& error);
};
