#include "render/zone_edit.h"

#include "model/effect_zone.h"
#include "model/project_root.h"
#include "model/zone_path.h"
#include "render/project_check.h"
#include "render/zone_content.h"

bool CZoneEdit::Apply(CProjectRoot& root, const QString& zonePath, const Change& change,
                      Outcome& outcome, Failure& failure, QString& error)
{
    outcome = {};
    failure = Failure::None;
    CEffectZone* zone = CZonePath::Find(root, zonePath, error);
    if (!zone) {
        failure = Failure::NoSuchZone;
        return false;
    }
    if (!change(*zone, error)) {
        failure = Failure::Refused;
        return false;
    }
    outcome.zone = zone;
    outcome.pages = CZoneContent::Render(*zone, outcome.warnings);
    return true;
}

ProjectFindings CZoneEdit::FindingsOf(const CProjectRoot& root, const CEffectZone& zone)
{
    const QString zonePath = ObjectPath(zone);
    const QString windowPath = zone.Parent() ? ObjectPath(*zone.Parent()) : QString();
    ProjectFindings all;
    CheckProjectTree(root, all);
    ProjectFindings concerning;
    for (ProjectFinding& finding : all) {
        if (finding.path == zonePath || (!windowPath.isEmpty() && finding.path == windowPath))
            concerning.push_back(std::move(finding));
    }
    return concerning;
}
