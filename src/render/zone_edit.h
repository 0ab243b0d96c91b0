#pragma once

#include "model/project_finding.h"

#include <QString>
#include <QStringList>

#include <functional>

class CEffectZone;
class CProjectRoot;

// Changing one zone of a loaded project, for scripts and the server: find the zone a path
// names, change it, render it and say what a person should know. The caller loads the
// project and saves it (holding the project's lock from the one to the other).
class CZoneEdit
{
public:
    // Where an edit stopped.
    enum class Failure { None, NoSuchZone, Refused };
    using Change = std::function<bool(CEffectZone& zone, QString& error)>;

    struct Outcome
    {
        CEffectZone* zone = nullptr;
        int pages = 0;
        QStringList warnings; // the text needs more pages, characters no font has
    };

    // False with the reason in error (for NoSuchZone naming what exists) when the path
    // names no zone or the change refused; the project is then unchanged.
    [[nodiscard]] static bool Apply(CProjectRoot& root, const QString& zonePath,
                                    const Change& change, Outcome& outcome, Failure& failure,
                                    QString& error);

    // The checker's findings about the zone and the window it stands in.
    static ProjectFindings FindingsOf(const CProjectRoot& root, const CEffectZone& zone);
};
