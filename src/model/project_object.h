#pragma once

#include "model/object_kind.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class CXmlNavigator;
class CPropertyIo;

// A node of the project: the root, a screen, a program, a window or a zone. It owns its
// children; the order of the children is the play order and the save order.
class CProjectObject
{
public:
    // Identifies an object for as long as the process runs: never given to another object,
    // kept when the object leaves the tree and comes back (undo).
    using Id = std::uint64_t;

    static constexpr int kNameCapacity = 31;     // characters a name may hold
    static constexpr int kLoadedNameLength = 30; // characters taken from a file
    static constexpr int kMaxObjectLevels = 16;  // deepest nesting a file may have

    explicit CProjectObject(CProjectObject* parent);
    virtual ~CProjectObject();
    CProjectObject(const CProjectObject&) = delete;
    CProjectObject& operator=(const CProjectObject&) = delete;

    Id GetId() const { return m_id; }
    virtual int GetKind() const = 0;
    virtual int GetImageIndex() const = 0;

    // Refreshes rendered content: the base forwards to every child in order.
    virtual void Prepare(RenderForm form);

    // Child management. Refused operations return false (or null) and change nothing.
    bool AddChild(std::unique_ptr<CProjectObject> child);
    bool InsertChild(std::unique_ptr<CProjectObject> child, int index);
    std::unique_ptr<CProjectObject> RemoveChildAt(int index);
    bool DeleteChild(const CProjectObject* child);
    CProjectObject* GetChild(int index) const;
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    int IndexOfChild(const CProjectObject* child) const;

    CProjectObject* Parent() const { return m_parent; }
    void SetParent(CProjectObject* parent) { m_parent = parent; }

    const QString& GetName() const { return m_name; }
    void SetName(const QString& name);
    int GetFore() const { return m_fore; }
    void SetFore(int fore) { m_fore = fore; }

    // A new object of the kind, with this object as its parent, or null when the kind is
    // unknown or may not stand here. It is not yet in the children list.
    std::unique_ptr<CProjectObject> CreateChild(int kind);
    // The same as the loader creates it: its default name waits until its properties are
    // read (FinishLoading), so that a name read from the file costs no count of siblings.
    std::unique_ptr<CProjectObject> CreateChildForLoading(int kind);
    // Gives an object created for loading its default name when the file had none.
    void FinishLoading() { AssignPendingDefaultName(); }
    // How many objects of the kind count towards the default name of a new child.
    int CountOfKind(int kind) const;
    // Name := label text followed by CountOfKind + 1 on the parent.
    void AssignDefaultName(int labelId, int kind);
    // True while the loader constructs an object: defaults that the file may replace can
    // wait until its properties have been read.
    static bool IsConstructedByLoader();

    // Project file.
    virtual void SaveXml(CXmlNavigator& navigator) const;
    void SaveProperties(CXmlNavigator& navigator) const;
    virtual bool LoadXml(CXmlNavigator& navigator);
    bool LoadProperties(CXmlNavigator& navigator);

    // The property elements in file order; each class calls its base first.
    virtual void VisitProperties(CPropertyIo& io);

    template <typename F> void ForEachChild(F&& f) const
    {
        for (const auto& child : m_children)
            f(*child);
    }

private:
    void AssignPendingDefaultName();

    const Id m_id;
    int m_fore = 1;
    // While loading, the default name waits until the file has had its say.
    int m_pendingNameLabel = 0;
    int m_pendingNameKind = 0;
    QString m_name = QStringLiteral("NULL");
    CProjectObject* m_parent = nullptr;
    std::vector<std::unique_ptr<CProjectObject>> m_children;
};
