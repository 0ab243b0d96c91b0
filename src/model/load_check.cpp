#include "model/load_check.h"

#include "base/bounded_file.h"
#include "model/play_window.h"
#include "model/project_root.h"
#include "model/property_io.h"

#include <pugixml.hpp>

#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* kObjectElement = "Varnolite";
constexpr const char* kKindElement = "varno";

// The property reader's forward search, on the parsed document, remembering which keys
// were asked for (in the writer's order) and which elements were read.
class CCheckingReader final : public CPropertyIo
{
public:
    CCheckingReader(pugi::xml_node parent, pugi::xml_node start) : m_parent(parent), m_main(start)
    {}
    bool IsReading() const override { return true; }

    pugi::xml_node Main() const { return m_main; }
    bool WasRead(pugi::xml_node node) const { return m_read.count(node.internal_object()) != 0; }
    // Position of the key in the writer's order, -1 for a key the object never asks for.
    int KeyPosition(const char* key) const
    {
        const auto it = m_positions.find(key);
        return it == m_positions.end() ? -1 : it->second;
    }
    const std::string& KeyAt(int position) const { return m_keys[static_cast<size_t>(position)]; }
    int KeyCount() const { return static_cast<int>(m_keys.size()); }

protected:
    bool Number(const char* key, std::int32_t& value) override
    {
        const pugi::xml_node node = Find(key);
        if (!node)
            return false;
        value = ParseDecimal(node.child_value());
        return true;
    }
    bool TextValue(const char* key, QString& value) override
    {
        const pugi::xml_node node = Find(key);
        if (!node)
            return false;
        value = QString::fromUtf8(node.child_value());
        return true;
    }

private:
    pugi::xml_node Find(const char* key)
    {
        m_positions.emplace(key, static_cast<int>(m_keys.size()));
        m_keys.emplace_back(key);
        const pugi::xml_node node = m_main ? m_main.next_sibling(key) : m_parent.child(key);
        if (node) {
            m_main = node;
            m_read.insert(node.internal_object());
        }
        return node;
    }

    pugi::xml_node m_parent;
    pugi::xml_node m_main;
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, int> m_positions;
    std::unordered_set<const void*> m_read;
};

// A rectangle no file holds: it shows whether the loader took the file's rectangle.
constexpr LedRect kUntouchedRect{INT_MIN + 1, INT_MIN + 1, INT_MIN + 2, INT_MIN + 2};

QString RectText(const LedRect& r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

QString KindName(int kind)
{
    const QString word = KindWord(kind);
    return word.isEmpty() ? QStringLiteral("unknown") : word;
}

int CountObjects(pugi::xml_node element)
{
    int count = 0;
    for (pugi::xml_node child : element.children(kObjectElement))
        count += 1 + CountObjects(child);
    return count;
}

class CLoadChecker
{
public:
    explicit CLoadChecker(ProjectFindings& findings) : m_findings(findings) {}

    // Reads the object's properties from start on, then its children, as LoadXml does.
    bool Walk(CProjectObject& object, pugi::xml_node element, pugi::xml_node start, int level)
    {
        CCheckingReader reader(element, start);
        ReadProperties(object, element, reader);
        ReportUnreadKeys(object, element, start, reader);

        const pugi::xml_node cursor = reader.Main();
        for (pugi::xml_node child : element.children(kObjectElement)) {
            if (cursor && !IsAfter(child, cursor))
                ReportSkippedObject(object, child, cursor);
        }
        pugi::xml_node child =
            cursor ? cursor.next_sibling(kObjectElement) : element.child(kObjectElement);
        for (; child; child = child.next_sibling(kObjectElement)) {
            // Inside an object at level n the loader stands n + 3 steps deep.
            if (level + 3 > CProjectObject::kMaxObjectLevels + 1)
                return false;
            if (!WalkChild(object, child, level + 1))
                return false;
        }
        return true;
    }

private:
    void Add(FindingKind kind, const QString& path, const QString& text)
    {
        m_findings.push_back({kind, path, text});
    }

    static bool IsAfter(pugi::xml_node node, pugi::xml_node cursor)
    {
        for (pugi::xml_node at = cursor.next_sibling(); at; at = at.next_sibling()) {
            if (at == node)
                return true;
        }
        return false;
    }

    void ReadProperties(CProjectObject& object, pugi::xml_node element, CCheckingReader& reader)
    {
        if (object.GetKind() != KindWindow) {
            object.VisitProperties(reader);
            return;
        }
        auto& window = static_cast<CPlayWindow&>(object);
        const LedRect fallback = window.WindowRect();
        window.SetWindowRect(kUntouchedRect);
        object.VisitProperties(reader);
        if (!(window.WindowRect() == kUntouchedRect))
            return;
        window.SetWindowRect(fallback);
        pugi::xml_node rect;
        for (pugi::xml_node node : element.children("rect")) {
            if (reader.WasRead(node))
                rect = node;
        }
        if (!rect)
            return;
        Add(FindingKind::InvalidRect, ObjectPath(object),
            QStringLiteral("the rectangle \"%1\" is not left,top,right,bottom with left < right "
                           "and top < bottom; the window uses %2 instead")
                .arg(QString::fromUtf8(rect.child_value()), RectText(fallback)));
    }

    void ReportUnreadKeys(const CProjectObject& object, pugi::xml_node element,
                          pugi::xml_node start, const CCheckingReader& reader)
    {
        std::unordered_set<std::string> readNames;
        for (pugi::xml_node node : element.children()) {
            if (node.type() == pugi::node_element && reader.WasRead(node))
                readNames.insert(node.name());
        }
        for (pugi::xml_node node : element.children()) {
            if (node.type() != pugi::node_element || node == start || reader.WasRead(node))
                continue;
            const char* name = node.name();
            if (std::strcmp(name, kObjectElement) == 0 || std::strcmp(name, kKindElement) == 0)
                continue;
            const int position = reader.KeyPosition(name);
            const QString key = QString::fromUtf8(name);
            if (position < 0) {
                Add(FindingKind::UnknownKey, ObjectPath(object),
                    QStringLiteral("the %1 has no key '%2'; it is ignored")
                        .arg(KindName(object.GetKind()), key));
            } else if (readNames.count(name) != 0) {
                Add(FindingKind::KeyOrder, ObjectPath(object),
                    QStringLiteral("the key '%1' appears more than once; only the first is read")
                        .arg(key));
            } else {
                Add(FindingKind::KeyOrder, ObjectPath(object),
                    QStringLiteral("the key '%1' is out of order and skipped; it would have to "
                                   "stand %2")
                        .arg(key, WherePlaced(reader, position, start)));
            }
        }
    }

    static QString WherePlaced(const CCheckingReader& reader, int position, pugi::xml_node start)
    {
        if (position > 0)
            return QStringLiteral("after '%1'")
                .arg(QString::fromStdString(reader.KeyAt(position - 1)));
        if (start)
            return QStringLiteral("right after '%1'").arg(QLatin1String(kKindElement));
        return QStringLiteral("first");
    }

    void ReportSkippedObject(const CProjectObject& parent, pugi::xml_node child,
                             pugi::xml_node cursor)
    {
        Add(FindingKind::SkippedObject, ObjectPath(parent),
            QStringLiteral("%1 stands before the key '%2' and is never read (with %3 objects "
                           "inside); objects must follow their parent's keys")
                .arg(Describe(child), QString::fromUtf8(cursor.name()))
                .arg(CountObjects(child)));
    }

    static QString Describe(pugi::xml_node element)
    {
        const pugi::xml_node kind = element.child(kKindElement);
        const QString name = QString::fromUtf8(element.child("lite").child_value());
        const QString kindText =
            kind ? QStringLiteral("the %1 object").arg(KindName(ParseDecimal(kind.child_value())))
                 : QStringLiteral("the object without a kind");
        return name.isEmpty() ? kindText : QStringLiteral("%1 '%2'").arg(kindText, name);
    }

    bool WalkChild(CProjectObject& parent, pugi::xml_node element, int level)
    {
        const pugi::xml_node kindNode = element.child(kKindElement);
        if (!kindNode) {
            Add(FindingKind::UnknownKind, ObjectPath(parent),
                QStringLiteral("%1 is dropped with its content (%2 objects inside)")
                    .arg(Describe(element))
                    .arg(CountObjects(element)));
            return true;
        }
        const int kind = ParseDecimal(kindNode.child_value());
        std::unique_ptr<CProjectObject> child = parent.CreateChild(kind);
        if (!child) {
            const QString reason = KindName(kind) == QLatin1String("unknown")
                                       ? QStringLiteral("its kind %1 is unknown").arg(kind)
                                       : QStringLiteral("a %1 may not stand in a %2")
                                             .arg(KindName(kind), KindName(parent.GetKind()));
            Add(FindingKind::UnknownKind, ObjectPath(parent),
                QStringLiteral("%1 is dropped with its content (%2 objects inside): %3")
                    .arg(Describe(element))
                    .arg(CountObjects(element))
                    .arg(reason));
            return true;
        }
        if (!Walk(*child, element, kindNode, level))
            return false;
        if (child->GetKind() == KindWindow && child->GetFore() == 0 &&
            child->GetChildCount() != 1) {
            Add(FindingKind::ImplicitWindow, ObjectPath(*child),
                QStringLiteral("an implicit window carries exactly one zone; this one has %1 and "
                               "is dropped")
                    .arg(child->GetChildCount()));
            return true;
        }
        parent.AddChild(std::move(child));
        return true;
    }

    ProjectFindings& m_findings;
};

bool CheckDocument(const pugi::xml_document& document, ProjectFindings& findings)
{
    pugi::xml_node top = document.first_child();
    while (top && top.type() != pugi::node_element)
        top = top.next_sibling();
    const pugi::xml_node rootElement = top.child(kObjectElement);
    if (!rootElement)
        return false;
    CProjectRoot root;
    CLoadChecker checker(findings);
    return checker.Walk(root, rootElement, pugi::xml_node(), 0);
}

} // namespace

bool CheckProjectLoadingBuffer(const QByteArray& bytes, ProjectFindings& findings)
{
    pugi::xml_document document;
    if (!document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                              pugi::parse_default, pugi::encoding_auto))
        return false;
    return CheckDocument(document, findings);
}

bool CheckProjectLoading(const QString& path, ProjectFindings& findings)
{
    QByteArray bytes;
    QString reason;
    if (!IsSafeNamedFile(path, &reason, file_limits::kProjectFile) ||
        !ReadFileBounded(path, file_limits::kProjectFile, &bytes, &reason))
        return false;
    return CheckProjectLoadingBuffer(bytes, findings);
}
