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
    case FindingKind::KeyColourLoss:
        return "key-colour-loss";
    case FindingKind::UnshownColour:
        return "unshown-colour";
    case FindingKind::NeverShown:
        return "never-shown";
    case FindingKind::UndrawablePicture:
        return "undrawable-picture";
    case FindingKind::PhotoCollapse:
        return "photo-collapse";
    case FindingKind::MissingFace:
        return "missing-face";
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

namespace {

// The letter of an object's level in a place, or 0 for what has none.
QChar PlaceLetter(int kind)
{
    switch (kind) {
    case KindScreen:
        return u's';
    case KindProgram:
        return u'p';
    case KindWindow:
        return u'w';
    default:
        return IsZoneKind(kind) ? u'z' : QChar();
    }
}

bool SameLevel(int a, int b)
{
    return a == b || (IsZoneKind(a) && IsZoneKind(b));
}

} // namespace

QString ObjectPlace(const CProjectObject& object)
{
    QStringList parts;
    for (const CProjectObject* at = &object; at && at->Parent(); at = at->Parent()) {
        const QChar letter = PlaceLetter(at->GetKind());
        if (letter.isNull())
            return QString();
        // An object not yet among its parent's children (being loaded) joins after them.
        int number = 0;
        bool among = false;
        const CProjectObject* parent = at->Parent();
        for (int i = 0; i < parent->GetChildCount() && !among; ++i) {
            const CProjectObject* sibling = parent->GetChild(i);
            if (SameLevel(sibling->GetKind(), at->GetKind()))
                ++number;
            among = sibling == at;
        }
        if (!among)
            ++number;
        parts.prepend(letter + QString::number(number));
    }
    return parts.join(u'/');
}

CProjectObject* ObjectAtPlace(CProjectObject& root, const QString& place)
{
    CProjectObject* at = &root;
    for (const QString& part : place.split(u'/', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int wanted = part.mid(1).toInt(&ok);
        if (!ok || wanted < 1)
            return nullptr;
        CProjectObject* found = nullptr;
        int number = 0;
        for (int i = 0; i < at->GetChildCount() && !found; ++i) {
            CProjectObject* child = at->GetChild(i);
            if (PlaceLetter(child->GetKind()) == part.front() && ++number == wanted)
                found = child;
        }
        if (!found)
            return nullptr;
        at = found;
    }
    return at == &root ? nullptr : at;
}
