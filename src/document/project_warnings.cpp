#include "document/project_warnings.h"

#include "document/lumivant_doc.h"
#include "model/load_check.h"
#include "model/object_kind.h"
#include "model/project_object.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/project_check.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

CProjectObject* AncestorOfKind(CProjectObject* object, int kind)
{
    for (CProjectObject* at = object; at; at = at->Parent()) {
        if (at->GetKind() == kind)
            return at;
    }
    return nullptr;
}

// The windows of a program and their zones, by identity and order.
std::uint64_t ShapeOf(const CProjectObject& program)
{
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](std::uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    for (int w = 0; w < program.GetChildCount(); ++w) {
        const CProjectObject* window = program.GetChild(w);
        mix(window->GetId());
        mix(static_cast<std::uint64_t>(window->GetChildCount()));
        for (int z = 0; z < window->GetChildCount(); ++z)
            mix(window->GetChild(z)->GetId());
    }
    return hash;
}

// Where an object of a program stands in the tree's order below the program.
int OrderInProgram(const CProjectObject* program, const CProjectObject* object)
{
    if (!object || object == program)
        return 0;
    const CProjectObject* window = object;
    int zone = 0;
    if (IsZoneKind(object->GetKind()) && object->Parent()) {
        window = object->Parent();
        zone = window->IndexOfChild(object) + 1;
    }
    return ((program->IndexOfChild(window) + 1) << 16) | zone;
}

} // namespace

CProjectWarnings::CProjectWarnings(CLumivantDoc& doc, QObject* parent)
    : QObject(parent), m_doc(doc), m_reconcile(true), m_fileDirty(true)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    m_step.setSingleShot(true);
    m_step.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, [this] { RunStep(kStepMs); });
    connect(&m_step, &QTimer::timeout, this, [this] { RunStep(kStepMs); });

    connect(&m_doc, &CLumivantDoc::objectChanged, this, &CProjectWarnings::OnObjectChanged);
    connect(&m_doc, &CLumivantDoc::objectRendered, this, &CProjectWarnings::OnRendered);
    connect(&m_doc, &CLumivantDoc::aboutToRemove, this, &CProjectWarnings::OnAboutToRemove);
    connect(&m_doc, &CLumivantDoc::structureChanged, this, [this] {
        m_reconcile = true;
        Touch(false);
    });
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, [this] {
        Clear();
        m_reconcile = true;
        m_fileDirty = true;
        Touch(true);
    });
    // The file may hold something else now (a save, Save As).
    connect(&m_doc, &CLumivantDoc::filePathChanged, this, [this] {
        m_fileDirty = true;
        Touch(false);
    });
    connect(&m_doc, &CLumivantDoc::modifiedChanged, this, [this](bool modified) {
        if (modified)
            return;
        m_fileDirty = true;
        Touch(false);
    });
}

CProjectWarnings::~CProjectWarnings() = default;

void CProjectWarnings::SetActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (!m_active) {
        m_settle.stop();
        m_step.stop();
        SetChecking(false);
        return;
    }
    if (HasWork())
        Touch(true);
}

bool CProjectWarnings::IsChecking() const
{
    return m_checking;
}

void CProjectWarnings::CheckPendingNow()
{
    m_settle.stop();
    m_step.stop();
    RunStep(-1);
}

void CProjectWarnings::RecheckAll()
{
    for (auto& [unit, kept] : m_units)
        kept.shape = 0; // the next reconciling finds every program changed
    m_reconcile = true;
    m_fileDirty = true;
    const CProjectRoot& root = m_doc.Root();
    for (int s = 0; s < root.GetChildCount(); ++s)
        MarkUnit(root.GetChild(s));
    Touch(true);
}

QString CProjectWarnings::ObjectLabel(const CProjectObject& object)
{
    if (object.GetKind() == KindWindow && object.GetFore() == 0 && object.GetChildCount() > 0)
        return ObjectLabel(*object.GetChild(0));
    QStringList names;
    for (const CProjectObject* at = &object; at && at->Parent(); at = at->Parent()) {
        if (at->GetKind() == KindWindow && at->GetFore() == 0)
            continue;
        names.prepend(at->GetName());
    }
    return names.join(u'/');
}

void CProjectWarnings::OnObjectChanged(CProjectObject* object, int code)
{
    if (!object || !m_doc.Contains(object))
        return;
    const int kind = object->GetKind();
    if (code == static_cast<int>(RefreshCode::Name)) {
        emit namesChanged();
        // An overlap names the other window.
        if (kind == KindWindow)
            MarkUnit(object->Parent());
    } else if (IsZoneKind(kind) && code != static_cast<int>(RefreshCode::Geometry)) {
        MarkZone(object);
    } else if (kind == KindScreen) {
        MarkScreenAndPrograms(object);
    } else {
        MarkUnit(AncestorOfKind(object, KindProgram));
    }
    Touch(false);
}

void CProjectWarnings::OnRendered(CProjectObject* object)
{
    // The page counts are part of the check.
    if (!object || !m_doc.Contains(object))
        return;
    if (IsZoneKind(object->GetKind()))
        MarkZone(object);
    else if (object->GetKind() == KindScreen)
        MarkScreenAndPrograms(object);
    else if (object->GetKind() != KindRoot)
        MarkUnit(AncestorOfKind(object, KindProgram));
    Touch(false);
}

void CProjectWarnings::OnAboutToRemove(CProjectObject* object)
{
    if (!object || object->GetKind() == KindRoot) {
        Clear();
        Publish();
        return;
    }
    // Nothing here may point at what leaves.
    const auto leaving = [object](const CProjectObject* at) {
        return CLumivantDoc::IsWithin(at, object);
    };
    std::vector<CProjectObject*> holders;
    for (auto it = m_units.begin(); it != m_units.end();) {
        if (leaving(it->first)) {
            it = m_units.erase(it);
            continue;
        }
        std::erase_if(it->second.warnings,
                      [&](const Warning& warning) { return leaving(warning.object); });
        // The unit that held it is checked again (undo may bring the same objects back).
        if (CLumivantDoc::IsWithin(object, it->first))
            holders.push_back(it->first);
        ++it;
    }
    std::erase_if(m_fileWarnings, [&](const Warning& warning) { return leaving(warning.object); });
    std::erase_if(m_dirtyUnits, leaving);
    std::erase_if(m_dirtyUnitSet, leaving);
    std::erase_if(m_dirtyZones, leaving);
    std::erase_if(m_dirtyZoneSet, leaving);
    Publish();
    for (CProjectObject* holder : holders) {
        if (holder->GetKind() == KindProgram)
            MarkUnit(holder);
    }
    m_reconcile = true;
    Touch(false);
}

void CProjectWarnings::Clear()
{
    m_units.clear();
    m_fileWarnings.clear();
    m_dirtyUnits.clear();
    m_dirtyUnitSet.clear();
    m_dirtyZones.clear();
    m_dirtyZoneSet.clear();
}

void CProjectWarnings::MarkUnit(CProjectObject* unit)
{
    if (unit && m_dirtyUnitSet.insert(unit).second)
        m_dirtyUnits.push_back(unit);
}

void CProjectWarnings::MarkZone(CProjectObject* zone)
{
    if (zone && m_dirtyZoneSet.insert(zone).second)
        m_dirtyZones.push_back(zone);
}

void CProjectWarnings::MarkScreenAndPrograms(CProjectObject* screen)
{
    MarkUnit(screen);
    for (int i = 0; i < screen->GetChildCount(); ++i) {
        if (screen->GetChild(i)->GetKind() == KindProgram)
            MarkUnit(screen->GetChild(i));
    }
}

void CProjectWarnings::Touch(bool soon)
{
    if (!m_active || !HasWork())
        return;
    SetChecking(true);
    if (m_step.isActive())
        return;
    if (soon)
        m_step.start();
    else
        m_settle.start();
}

bool CProjectWarnings::HasWork() const
{
    return m_reconcile || m_fileDirty || !m_dirtyUnits.empty() || !m_dirtyZones.empty();
}

void CProjectWarnings::RunStep(qint64 budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    if (m_reconcile) {
        m_reconcile = false;
        Reconcile();
    }
    // What the person just edited first, then what holds more, the file last (it is read
    // from the disk).
    while (budgetMs < 0 || clock.elapsed() < budgetMs) {
        if (!m_dirtyZones.empty()) {
            CProjectObject* zone = m_dirtyZones.front();
            m_dirtyZones.pop_front();
            m_dirtyZoneSet.erase(zone);
            CheckZone(zone);
        } else if (!m_dirtyUnits.empty()) {
            CProjectObject* unit = m_dirtyUnits.front();
            m_dirtyUnits.pop_front();
            m_dirtyUnitSet.erase(unit);
            CheckUnit(unit);
        } else if (m_fileDirty) {
            m_fileDirty = false;
            CheckFile();
        } else {
            break;
        }
    }
    if (HasWork() && m_active) {
        m_step.start();
        return;
    }
    Publish();
    SetChecking(false);
}

void CProjectWarnings::Reconcile()
{
    // Programs that are new or whose windows and zones changed are checked again; units of
    // what is no longer there go.
    std::unordered_set<CProjectObject*> present;
    CProjectRoot& root = m_doc.Root();
    for (int s = 0; s < root.GetChildCount(); ++s) {
        CProjectObject* screen = root.GetChild(s);
        if (screen->GetKind() != KindScreen)
            continue;
        present.insert(screen);
        if (!m_units.contains(screen))
            MarkUnit(screen);
        for (int p = 0; p < screen->GetChildCount(); ++p) {
            CProjectObject* program = screen->GetChild(p);
            if (program->GetKind() != KindProgram)
                continue;
            present.insert(program);
            const auto known = m_units.find(program);
            if (known == m_units.end() || known->second.shape != ShapeOf(*program))
                MarkUnit(program);
        }
    }
    std::erase_if(m_units, [&](const auto& entry) { return !present.contains(entry.first); });
}

void CProjectWarnings::CheckUnit(CProjectObject* unit)
{
    if (!m_doc.Contains(unit))
        return;
    ProjectFindings findings;
    Unit& kept = m_units[unit];
    kept.warnings.clear();
    if (unit->GetKind() == KindScreen) {
        CheckScreenSettings(static_cast<const CScreen&>(*unit), findings);
        for (ProjectFinding& finding : findings)
            kept.warnings.push_back({unit, finding.kind, std::move(finding.text)});
        return;
    }
    kept.shape = ShapeOf(*unit);
    CheckProjectObject(*unit, findings);
    // Findings name their objects by place: "s1/p2" is the program, "s1/p2/w1/z3" below it.
    const QString place = ObjectPlace(*unit);
    QString lastPlace;
    CProjectObject* lastObject = unit;
    for (ProjectFinding& finding : findings) {
        if (finding.place != lastPlace) {
            lastPlace = finding.place;
            lastObject = nullptr;
            if (finding.place.size() > place.size() && finding.place.startsWith(place) &&
                finding.place[place.size()] == u'/')
                lastObject = ObjectAtPlace(*unit, finding.place.mid(place.size() + 1));
            if (!lastObject)
                lastObject = unit;
        }
        kept.warnings.push_back({lastObject, finding.kind, std::move(finding.text)});
    }
}

void CProjectWarnings::CheckZone(CProjectObject* zone)
{
    CProjectObject* program = AncestorOfKind(zone, KindProgram);
    if (!program || !m_doc.Contains(zone))
        return;
    const auto unit = m_units.find(program);
    // A program that waits for its own check, or has had none, checks the zone with it.
    if (unit == m_units.end() || m_dirtyUnitSet.contains(program)) {
        MarkUnit(program);
        return;
    }
    ProjectFindings findings;
    CheckProjectObject(*zone, findings);
    std::vector<Warning>& warnings = unit->second.warnings;
    std::erase_if(warnings, [zone](const Warning& warning) { return warning.object == zone; });
    for (ProjectFinding& finding : findings)
        warnings.push_back({zone, finding.kind, std::move(finding.text)});
    std::stable_sort(
        warnings.begin(), warnings.end(), [program](const Warning& a, const Warning& b) {
            return OrderInProgram(program, a.object) < OrderInProgram(program, b.object);
        });
}

void CProjectWarnings::CheckFile()
{
    // What the loader fixed or dropped in the file; its places are those of the project as
    // the file holds it, so it is read only while the project is unchanged.
    if (m_doc.IsModified())
        return;
    m_fileWarnings.clear();
    const QString path = m_doc.FilePath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    ProjectFindings findings;
    CheckProjectLoading(path, findings);
    for (ProjectFinding& finding : findings) {
        CProjectObject* object =
            finding.place.isEmpty() ? nullptr : ObjectAtPlace(m_doc.Root(), finding.place);
        m_fileWarnings.push_back({object, finding.kind, std::move(finding.text)});
    }
}

void CProjectWarnings::Publish()
{
    std::vector<Warning> published = m_fileWarnings;
    CProjectRoot& root = m_doc.Root();
    const auto append = [&](CProjectObject* unit) {
        const auto kept = m_units.find(unit);
        if (kept != m_units.end())
            published.insert(published.end(), kept->second.warnings.begin(),
                             kept->second.warnings.end());
    };
    for (int s = 0; s < root.GetChildCount(); ++s) {
        CProjectObject* screen = root.GetChild(s);
        append(screen);
        for (int p = 0; p < screen->GetChildCount(); ++p)
            append(screen->GetChild(p));
    }
    m_published = std::move(published);
    emit warningsChanged();
}

void CProjectWarnings::SetChecking(bool checking)
{
    if (m_checking == checking)
        return;
    m_checking = checking;
    emit checkingChanged(checking);
}
