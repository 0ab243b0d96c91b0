#include "model/project_object.h"

#include "base/string_table.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/property_rw.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "model/xml_navigator.h"

#include <atomic>

namespace {

// Set while the loader creates an object: a name read from the file replaces the default
// name anyway, and working the default out costs more than the rest of the object.
thread_local bool t_deferDefaultNames = false;

std::atomic<CProjectObject::Id> g_lastId{0};

class DeferDefaultNames
{
public:
    DeferDefaultNames() { t_deferDefaultNames = true; }
    ~DeferDefaultNames() { t_deferDefaultNames = false; }
};

} // namespace

CProjectObject::CProjectObject(CProjectObject* parent) : m_id(++g_lastId), m_parent(parent) {}

CProjectObject::~CProjectObject() = default;

void CProjectObject::Prepare(RenderForm form)
{
    // Preparing a child may change the list (a page may drop a zone), so the count is
    // read again on every step.
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->Prepare(form);
}

bool CProjectObject::AddChild(std::unique_ptr<CProjectObject> child)
{
    if (!child)
        return false;
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return true;
}

bool CProjectObject::InsertChild(std::unique_ptr<CProjectObject> child, int index)
{
    if (!child || index < 0 || index > GetChildCount())
        return false;
    child->m_parent = this;
    m_children.insert(m_children.begin() + index, std::move(child));
    return true;
}

std::unique_ptr<CProjectObject> CProjectObject::RemoveChildAt(int index)
{
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    std::unique_ptr<CProjectObject> child = std::move(m_children[static_cast<size_t>(index)]);
    m_children.erase(m_children.begin() + index);
    return child;
}

bool CProjectObject::DeleteChild(const CProjectObject* child)
{
    const int index = IndexOfChild(child);
    if (index < 0)
        return false;
    RemoveChildAt(index);
    return true;
}

CProjectObject* CProjectObject::GetChild(int index) const
{
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    return m_children[static_cast<size_t>(index)].get();
}

int CProjectObject::IndexOfChild(const CProjectObject* child) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        if (m_children[static_cast<size_t>(i)].get() == child)
            return i;
    }
    return -1;
}

void CProjectObject::SetName(const QString& name)
{
    m_name = name.left(kNameCapacity);
}

std::unique_ptr<CProjectObject> CProjectObject::CreateChild(int kind)
{
    const bool inWindow = GetKind() == KindWindow;
    switch (kind) {
    case KindScreen:
        return std::make_unique<CScreen>(this);
    case KindProgram:
        return std::make_unique<CProgram>(this);
    case KindWindow:
        return std::make_unique<CPlayWindow>(this);
    case KindText:
        return std::make_unique<CTextZone>(this);
    case KindDateTime:
        return std::make_unique<CDateTimeZone>(this);
    case KindImage:
        return inWindow ? std::make_unique<CImageZone>(this) : nullptr;
    case KindAnimate:
        return inWindow ? std::make_unique<CAnimateZone>(this) : nullptr;
    case KindTable:
        return inWindow ? std::make_unique<CTableZone>(this) : nullptr;
    case KindClock:
        return inWindow ? std::make_unique<CClockZone>(this) : nullptr;
    case KindTemperature:
        return inWindow ? std::make_unique<CTemperatureZone>(this) : nullptr;
    case KindCountdown:
        return inWindow ? std::make_unique<CCountdownZone>(this) : nullptr;
    default:
        return nullptr;
    }
}

int CProjectObject::CountOfKind(int kind) const
{
    int count = 0;
    if (IsZoneKind(kind)) {
        // Zone numbers run across all windows of one program.
        if (!m_parent)
            return 0;
        m_parent->ForEachChild([&](const CProjectObject& sibling) {
            sibling.ForEachChild([&](const CProjectObject& zone) {
                if (zone.GetKind() == kind)
                    ++count;
            });
        });
        return count;
    }
    ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() == kind && child.GetFore() != 0)
            ++count;
    });
    return count;
}

bool CProjectObject::IsConstructedByLoader()
{
    return t_deferDefaultNames;
}

void CProjectObject::AssignDefaultName(int labelId, int kind)
{
    if (t_deferDefaultNames) {
        m_pendingNameLabel = labelId;
        m_pendingNameKind = kind;
        return;
    }
    const int count = m_parent ? m_parent->CountOfKind(kind) : 0;
    SetName(LoadString(labelId) + QString::number(count + 1));
}

void CProjectObject::VisitProperties(CPropertyIo& io)
{
    if (!io.IsReading()) {
        int kind = GetKind();
        io.Int("varno", kind);
    }
    if (io.Text("lite", m_name, io.IsReading() ? kLoadedNameLength : kNameCapacity))
        m_pendingNameLabel = 0;
    io.Int("fore", m_fore);
}

void CProjectObject::SaveProperties(CXmlNavigator& navigator) const
{
    CPropertyWriter writer(navigator);
    // Writing only reads the fields.
    const_cast<CProjectObject*>(this)->VisitProperties(writer);
}

bool CProjectObject::LoadProperties(CXmlNavigator& navigator)
{
    CPropertyReader reader(navigator);
    VisitProperties(reader);
    return true;
}

void CProjectObject::SaveXml(CXmlNavigator& navigator) const
{
    navigator.AddChildElem("Varnolite", QString());
    navigator.IntoElem();
    SaveProperties(navigator);
    for (const auto& child : m_children)
        child->SaveXml(navigator);
    navigator.OutOfElem();
}

void CProjectObject::AssignPendingDefaultName()
{
    if (m_pendingNameLabel == 0)
        return;
    const int label = m_pendingNameLabel;
    m_pendingNameLabel = 0;
    AssignDefaultName(label, m_pendingNameKind);
}

std::unique_ptr<CProjectObject> CProjectObject::CreateChildForLoading(int kind)
{
    const DeferDefaultNames defer;
    return CreateChild(kind);
}

bool CProjectObject::LoadXml(CXmlNavigator& navigator)
{
    LoadProperties(navigator);
    // Still before the object joins its parent, as when it was constructed.
    AssignPendingDefaultName();
    while (navigator.FindElem("Varnolite")) {
        navigator.IntoElem();
        // Inside an object at level n the cursor stands n + 1 steps deep.
        if (navigator.Depth() > kMaxObjectLevels + 1) {
            navigator.OutOfElem();
            return false;
        }
        std::unique_ptr<CProjectObject> child;
        if (navigator.FindElem("varno")) {
            {
                const DeferDefaultNames defer;
                child = CreateChild(navigator.GetElemNumber());
            }
            if (child && !child->LoadXml(navigator)) {
                navigator.OutOfElem();
                return false;
            }
        }
        // An implicit window exists only to carry exactly one zone.
        if (child && (child->GetKind() != KindWindow || child->GetFore() != 0 ||
                      child->GetChildCount() == 1))
            AddChild(std::move(child));
        navigator.OutOfElem();
    }
    return true;
}
