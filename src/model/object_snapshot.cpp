#include "model/object_snapshot.h"

#include "model/project_object.h"
#include "model/xml_navigator.h"

#include <algorithm>

namespace {

constexpr const char* kObjectElement = "Varnolite";
constexpr const char* kWrapperElement = "Snapshot";

bool EnterObject(CXmlNavigator& navigator, const QByteArray& snapshot)
{
    if (!navigator.LoadBuffer(snapshot.constData(), static_cast<std::size_t>(snapshot.size())))
        return false;
    if (!navigator.FindElem(kWrapperElement))
        return false;
    navigator.IntoElem();
    if (!navigator.FindElem(kObjectElement))
        return false;
    navigator.IntoElem();
    return true;
}

} // namespace

QByteArray SnapshotProperties(const CProjectObject& object)
{
    CXmlNavigator navigator;
    navigator.Create();
    navigator.AddElem(kWrapperElement);
    navigator.AddChildElem(kObjectElement, QString());
    navigator.IntoElem();
    object.SaveProperties(navigator);
    return navigator.SaveToBuffer();
}

bool RestoreProperties(CProjectObject& object, const QByteArray& snapshot)
{
    CXmlNavigator navigator;
    if (!EnterObject(navigator, snapshot))
        return false;
    return object.LoadProperties(navigator);
}

QByteArray SnapshotSubtree(const CProjectObject& object)
{
    CXmlNavigator navigator;
    navigator.Create();
    navigator.AddElem(kWrapperElement);
    object.SaveXml(navigator);
    return navigator.SaveToBuffer();
}

std::unique_ptr<CProjectObject> RestoreSubtree(CProjectObject& parent, const QByteArray& snapshot)
{
    CXmlNavigator navigator;
    if (!EnterObject(navigator, snapshot) || !navigator.FindElem("varno"))
        return nullptr;
    std::unique_ptr<CProjectObject> object = parent.CreateChild(navigator.GetElemNumber());
    if (!object || !object->LoadXml(navigator))
        return nullptr;
    return object;
}

ObjectPath PathOf(const CProjectObject& object)
{
    ObjectPath path;
    for (const CProjectObject* at = &object; at->Parent(); at = at->Parent())
        path.push_back(at->Parent()->IndexOfChild(at));
    std::reverse(path.begin(), path.end());
    return path;
}

CProjectObject* ObjectAt(CProjectObject& root, const ObjectPath& path)
{
    CProjectObject* at = &root;
    for (int index : path) {
        at = at->GetChild(index);
        if (!at)
            return nullptr;
    }
    return at;
}
