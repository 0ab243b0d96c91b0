#include "model/zone_path.h"

#include "model/effect_zone.h"
#include "model/program.h"
#include "model/project_root.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

// What a path names at each level, for the texts.
const char* const kLevelNames[] = {"screen", "program", "window", "zone"};
constexpr QChar kNumberLetters[] = {u's', u'p', u'w', u'z'};
constexpr int kLevels = 4;
constexpr int kWindowLevel = 2;

bool IsImplicitWindow(const CProjectObject& object)
{
    return object.GetKind() == KindWindow && object.GetFore() == 0;
}

bool BelongsAt(const CProjectObject& object, int level)
{
    switch (level) {
    case 0:
        return object.GetKind() == KindScreen;
    case 1:
        return object.GetKind() == KindProgram;
    case 2:
        return object.GetKind() == KindWindow;
    default:
        return IsZoneKind(object.GetKind());
    }
}

// The children of parent that stand at the level, in play order.
std::vector<CProjectObject*> ChildrenAt(const CProjectObject& parent, int level)
{
    std::vector<CProjectObject*> found;
    for (int i = 0; i < parent.GetChildCount(); ++i) {
        CProjectObject* child = parent.GetChild(i);
        if (child && BelongsAt(*child, level))
            found.push_back(child);
    }
    return found;
}

// What a program shows by name: its explicit windows and the zones standing directly in
// it (through their implicit windows), each tagged with its level.
struct NamedEntry
{
    CProjectObject* object;
    int level;
};

std::vector<NamedEntry> ProgramEntries(const CProjectObject& program)
{
    std::vector<NamedEntry> entries;
    for (CProjectObject* window : ChildrenAt(program, kWindowLevel)) {
        if (!IsImplicitWindow(*window)) {
            entries.push_back({window, kWindowLevel});
            continue;
        }
        for (CProjectObject* zone : ChildrenAt(*window, kWindowLevel + 1))
            entries.push_back({zone, kWindowLevel + 1});
    }
    return entries;
}

QString QuotedList(const QStringList& names)
{
    if (names.isEmpty())
        return QStringLiteral("nothing");
    QStringList quoted;
    for (const QString& name : names)
        quoted << QStringLiteral("'%1'").arg(name);
    return quoted.join(QStringLiteral(", "));
}

QString PlaceText(const QStringList& walked)
{
    return walked.isEmpty() ? QStringLiteral("the project")
                            : QStringLiteral("'%1'").arg(walked.join(u'/'));
}

bool IsNumberPath(const QStringList& parts, int levels = kLevels)
{
    if (parts.size() != levels)
        return false;
    static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{0,5}$"));
    for (int level = 0; level < levels; ++level) {
        const QString& part = parts[level];
        if (part.size() < 2 || part[0].toLower() != kNumberLetters[level] ||
            !number.match(part.mid(1)).hasMatch())
            return false;
    }
    return true;
}

CProjectObject* FindByNumbers(CProjectRoot& root, const QStringList& parts, QString& error)
{
    CProjectObject* at = &root;
    QStringList walked;
    for (int level = 0; level < parts.size(); ++level) {
        const std::vector<CProjectObject*> children = ChildrenAt(*at, level);
        const int number = parts[level].mid(1).toInt();
        if (number > static_cast<int>(children.size())) {
            error = QStringLiteral("There is no %1 %2 in %3 (%1s there: %4).")
                        .arg(QLatin1String(kLevelNames[level]), parts[level], PlaceText(walked))
                        .arg(children.size());
            return nullptr;
        }
        at = children[static_cast<size_t>(number - 1)];
        walked << parts[level];
    }
    return at;
}

// The one entry of the name among the candidates; null with a reason otherwise.
template <typename Entry, typename ObjectOf>
const Entry* PickByName(const std::vector<Entry>& candidates, const QString& name,
                        const QString& what, const QStringList& walked, ObjectOf objectOf,
                        QString& error)
{
    const Entry* match = nullptr;
    int count = 0;
    QStringList names;
    for (const Entry& candidate : candidates) {
        const QString& candidateName = objectOf(candidate)->GetName();
        names << CZonePath::Escape(candidateName);
        if (candidateName == name) {
            match = &candidate;
            ++count;
        }
    }
    if (count == 1)
        return match;
    const QString problem = count == 0 ? QStringLiteral("There is no %1 named '%2' in %3")
                                       : QStringLiteral("More than one %1 is named '%2' in %3");
    error = problem.arg(what, CZonePath::Escape(name), PlaceText(walked)) +
            QStringLiteral("; there are: %1.").arg(QuotedList(names));
    return nullptr;
}

// The screen and program of the first two names.
CProjectObject* FindProgramByNames(CProjectRoot& root, const QStringList& parts,
                                   QStringList& walked, QString& error)
{
    auto self = [](CProjectObject* object) { return object; };
    CProjectObject* at = &root;
    for (int level = 0; level < 2; ++level) {
        const auto children = ChildrenAt(*at, level);
        CProjectObject* const* picked = PickByName(
            children, parts[level], QLatin1String(kLevelNames[level]), walked, self, error);
        if (!picked)
            return nullptr;
        at = *picked;
        walked << CZonePath::Escape(parts[level]);
    }
    return at;
}

CEffectZone* FindByNames(CProjectRoot& root, const QStringList& parts, QString& error)
{
    if (parts.size() != kLevels && parts.size() != kLevels - 1) {
        error = QStringLiteral("A zone path has 3 or 4 parts (Screen/Program/Window/Zone, "
                               "Screen/Program/Zone or s1/p1/w1/z1), not %1.")
                    .arg(parts.size());
        return nullptr;
    }
    auto self = [](CProjectObject* object) { return object; };
    QStringList walked;
    CProjectObject* at = FindProgramByNames(root, parts, walked, error);
    if (!at)
        return nullptr;
    const auto entries = ProgramEntries(*at);
    auto objectOf = [](const NamedEntry& entry) { return entry.object; };
    const bool direct = parts.size() == kLevels - 1;
    const NamedEntry* entry =
        PickByName(entries, parts[2], direct ? QStringLiteral("zone") : QStringLiteral("window"),
                   walked, objectOf, error);
    if (!entry)
        return nullptr;
    const int wanted = direct ? kWindowLevel + 1 : kWindowLevel;
    if (entry->level != wanted) {
        error = direct ? QStringLiteral("'%1' in %2 is a window: name one of its zones too.")
                       : QStringLiteral("'%1' in %2 is a zone standing directly in the program: "
                                        "leave the window out of the path.");
        error = error.arg(CZonePath::Escape(parts[2]), PlaceText(walked));
        return nullptr;
    }
    if (direct)
        return static_cast<CEffectZone*>(entry->object);
    walked << CZonePath::Escape(parts[2]);
    const auto zones = ChildrenAt(*entry->object, kWindowLevel + 1);
    CProjectObject* const* zone =
        PickByName(zones, parts[3], QStringLiteral("zone"), walked, self, error);
    return zone ? static_cast<CEffectZone*>(*zone) : nullptr;
}

} // namespace

bool CZonePath::Split(const QString& path, QStringList& parts, QString& error)
{
    parts.clear();
    QString part;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c == u'\\') {
            if (i + 1 >= path.size() || (path[i + 1] != u'/' && path[i + 1] != u'\\')) {
                error = QStringLiteral("In a zone path a backslash must be followed by / or "
                                       "\\: '%1'.")
                            .arg(path);
                return false;
            }
            part += path[++i];
        } else if (c == u'/') {
            parts << part;
            part.clear();
        } else {
            part += c;
        }
    }
    parts << part;
    for (const QString& each : parts) {
        if (each.isEmpty()) {
            error = QStringLiteral("A zone path has an empty part: '%1'.").arg(path);
            return false;
        }
    }
    return true;
}

QString CZonePath::Escape(const QString& name)
{
    QString escaped = name;
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    escaped.replace(QStringLiteral("/"), QStringLiteral("\\/"));
    return escaped;
}

QString CZonePath::NameOf(const CEffectZone& zone)
{
    QStringList parts;
    for (const CProjectObject* at = &zone; at && at->GetKind() != KindRoot; at = at->Parent()) {
        if (!IsImplicitWindow(*at))
            parts.prepend(Escape(at->GetName()));
    }
    return parts.join(u'/');
}

QString CZonePath::NumbersOf(const CEffectZone& zone)
{
    QStringList parts;
    int level = kLevels - 1;
    for (const CProjectObject* at = &zone; at && at->Parent() && level >= 0;
         at = at->Parent(), --level) {
        const std::vector<CProjectObject*> siblings = ChildrenAt(*at->Parent(), level);
        const auto it = std::find(siblings.begin(), siblings.end(), at);
        if (it == siblings.end())
            return {};
        parts.prepend(QStringLiteral("%1%2")
                          .arg(kNumberLetters[level])
                          .arg(static_cast<int>(it - siblings.begin()) + 1));
    }
    return parts.size() == kLevels ? parts.join(u'/') : QString();
}

CEffectZone* CZonePath::Find(CProjectRoot& root, const QString& path, QString& error)
{
    QStringList parts;
    if (!Split(path, parts, error))
        return nullptr;
    return IsNumberPath(parts) ? static_cast<CEffectZone*>(FindByNumbers(root, parts, error))
                               : FindByNames(root, parts, error);
}

CProgram* CZonePath::FindProgram(CProjectRoot& root, const QString& path, QString& error)
{
    QStringList parts;
    if (!Split(path, parts, error))
        return nullptr;
    if (IsNumberPath(parts, 2))
        return static_cast<CProgram*>(FindByNumbers(root, parts, error));
    if (parts.size() != 2) {
        error = QStringLiteral("A program path has 2 parts (Screen/Program or s1/p1), not %1.")
                    .arg(parts.size());
        return nullptr;
    }
    QStringList walked;
    return static_cast<CProgram*>(FindProgramByNames(root, parts, walked, error));
}
