#include "model/project_finding.h"

#include "model/project_object.h"

#include <QStringList>

const char* FindingKindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::KeyOrder:
        return "key-order";
    case FindingKind::UnknownKey:
        return "unknown-key";
    case FindingKind::SkippedObject:
        return "skipped-object";
    case FindingKind::UnknownKind:
        return "unknown-kind";
    case FindingKind::ImplicitWindow:
        return "implicit-window";
    case FindingKind::InvalidRect:
        return "invalid-rect";
    case FindingKind::OutsideScreen:
        return "outside-screen";
    case FindingKind::Overlap:
        return "overlap";
    case FindingKind::EffectCode:
        return "effect-code";
    case FindingKind::MissingImage:
        return "missing-image";
    case FindingKind::TooManyPages:
        return "too-many-pages";
    case FindingKind::MissingGlyph:
        return "missing-glyph";
    case FindingKind::LayoutCut:
        return "layout-cut";
    case FindingKind::TableRowHeight:
        return "table-row-height";
    case FindingKind::SizeLimit:
        return "size-limit";
    }
    return "finding";
}

QString ObjectPath(const CProjectObject& object)
{
    QStringList names;
    for (const CProjectObject* at = &object; at && at->GetKind() != KindRoot; at = at->Parent())
        names.prepend(at->GetName());
    return names.join(u'/');
}
