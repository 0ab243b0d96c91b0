#include "model/project_tree_json.h"

#include "model/effect_zone.h"
#include "model/project_object.h"
#include "model/property_json.h"
#include "model/zone_path.h"

#include <QJsonArray>

QJsonObject ProjectTreeJson(const CProjectObject& object, ZonePaths paths,
                            const TreeJsonExtra& extra)
{
    CPropertyJson props;
    const_cast<CProjectObject&>(object).VisitProperties(props);
    QJsonArray children;
    object.ForEachChild([&](const CProjectObject& child) {
        children.append(ProjectTreeJson(child, paths, extra));
    });
    QJsonObject json;
    json.insert(QStringLiteral("kind"), object.GetKind());
    json.insert(QStringLiteral("name"), object.GetName());
    json.insert(QStringLiteral("fore"), object.GetFore());
    json.insert(QStringLiteral("props"), props.Object());
    json.insert(QStringLiteral("children"), children);
    if (paths == ZonePaths::Include && IsZoneKind(object.GetKind())) {
        const auto& zone = static_cast<const CEffectZone&>(object);
        json.insert(QStringLiteral("path"),
                    QJsonObject{{QStringLiteral("numbers"), CZonePath::NumbersOf(zone)},
                                {QStringLiteral("names"), CZonePath::NameOf(zone)}});
    }
    if (extra)
        extra(object, json);
    return json;
}
