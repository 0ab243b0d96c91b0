#include "model/load_check.h"

#include "base/bounded_file.h"
#include "model/play_window.h"
#include "model/project_root.h"
#include "model/property_io.h"

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kObjectElement = "Varnolite";
constexpr const char* kKindElement = "varno";

// What a checking reader remembers of one object, kept between objects so that reading
// thousands of them allocates nothing: the keys asked for (copied, as tables build theirs on
// the stack) and the elements read.
struct CheckingMemory
{
    std::string keyText;            // the keys, each ended by '\0'
    std::vector<std::size_t> keyAt; // where each key starts in keyText
    std::vector<pugi::xml_node> read;
};

// The property reader's forward search, on the parsed document, remembering which keys
// were asked for (in the writer's order) and which elements were read. The elements read
// follow each other in the document, as the search only moves forward.
class CCheckingReader final : public CPropertyIo
{
public:
    // recordKeys: also remember the keys asked for (needed only to describe what was not
    // read, so a second reading asks for them when there is something to describe).
    CCheckingReader(pugi::xml_node parent, pugi::xml_node start, CheckingMemory& memory,
                    bool recordKeys)
        : m_parent(parent), m_main(start), m_memory(memory), m_recordKeys(recordKeys)
    {
        m_memory.keyText.clear();
        m_memory.keyAt.clear();
        m_memory.read.clear();
    }
    bool IsReading() const override { return true; }

    pugi::xml_node Main() const { return m_main; }
    const std::vector<pugi::xml_node>& ReadNodes() const { return m_memory.read; }
    bool WasRead(pugi::xml_node node) const
    {
        return std::find(m_memory.read.begin(), m_memory.read.end(), node) != m_memory.read.end();
    }
    // Position of the key in the writer's order (its first), -1 for a key the object never
    // asks for.
    int KeyPosition(const char* key) const
    {
        for (size_t i = 0; i < m_memory.keyAt.size(); ++i) {
            if (std::strcmp(KeyAt(static_cast<int>(i)), key) == 0)
                return static_cast<int>(i);
        }
        return -1;
    }
    const char* KeyAt(int position) const
    {
        return m_memory.keyText.c_str() + m_memory.keyAt[static_cast<size_t>(position)];
    }

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
        // Only names (for the findings' paths) and rectangles (checked) matter here; texts
        // like a zone's whole document are not converted for nothing.
        if (std::strcmp(key, "lite") == 0 || std::strcmp(key, "rect") == 0)
            value = QString::fromUtf8(node.child_value());
        return true;
    }

private:
    pugi::xml_node Find(const char* key)
    {
        if (m_recordKeys) {
            m_memory.keyAt.push_back(m_memory.keyText.size());
            m_memory.keyText.append(key);
            m_memory.keyText.push_back('\0');
        }
        const pugi::xml_node node = m_main ? m_main.next_sibling(key) : m_parent.child(key);
        if (node) {
            m_main = node;
            m_memory.read.push_back(node);
        }
        return node;
    }

    pugi::xml_node m_parent;
    pugi::xml_node m_main;
    CheckingMemory& m_memory;
    const bool m_recordKeys;
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
        CCheckingReader reader(element, start, m_memory, false);
        ReadProperties(object, element, reader);
        object.FinishLoading();
        const pugi::xml_node cursor = reader.Main();

        // One pass over the children: elements the reading left out, and objects standing
        // before the last key read (the loader never reaches them). The elements read come
        // in document order, so one walk matches them.
        const std::vector<pugi::xml_node>& read = reader.ReadNodes();
        size_t next = 0;
        bool beforeCursor = static_cast<bool>(cursor);
        bool unread = false;
        for (pugi::xml_node node = element.first_child(); node; node = node.next_sibling()) {
            if (node == cursor)
                beforeCursor = false;
            if (next < read.size() && node == read[next]) {
                ++next;
                continue;
            }
            if (node == start || node.type() != pugi::node_element)
                continue;
            const char* name = node.name();
            if (std::strcmp(name, kObjectElement) == 0) {
                if (beforeCursor)
                    ReportSkippedObject(object, node, cursor);
                continue;
            }
            if (std::strcmp(name, kKindElement) != 0)
                unread = true;
        }
        if (unread)
            ReportUnreadKeys(object, element, start);

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
    // Objects of this walk stand where the loader puts the same objects: their places
    // name the loaded project's objects.
    void Add(FindingKind kind, const CProjectObject& object, const QString& text)
    {
        m_findings.push_back({kind, ObjectPath(object), text, ObjectPlace(object)});
    }
    // A finding about an object the loader drops: it has no place of its own, its parent
    // stands for it.
    void AddDropped(FindingKind kind, const CProjectObject& object, const QString& text)
    {
        const CProjectObject* parent = object.Parent();
        m_findings.push_back(
            {kind, ObjectPath(object), text, parent ? ObjectPlace(*parent) : QString()});
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
        Add(FindingKind::InvalidRect, object,
            QStringLiteral("the rectangle \"%1\" is not left,top,right,bottom with left < right "
                           "and top < bottom; the window uses %2 instead")
                .arg(QString::fromUtf8(rect.child_value()), RectText(fallback)));
    }

    // Reads the properties again, this time noting the keys asked for, and names each
    // element that was not read.
    void ReportUnreadKeys(CProjectObject& object, pugi::xml_node element, pugi::xml_node start)
    {
        CCheckingReader reader(element, start, m_memory, true);
        object.VisitProperties(reader);
        const std::vector<pugi::xml_node>& read = reader.ReadNodes();
        size_t next = 0;
        for (pugi::xml_node node : element.children()) {
            if (next < read.size() && node == read[next]) {
                ++next;
                continue;
            }
            if (node.type() != pugi::node_element || node == start)
                continue;
            const char* name = node.name();
            if (std::strcmp(name, kObjectElement) == 0 || std::strcmp(name, kKindElement) == 0)
                continue;
            const int position = reader.KeyPosition(name);
            const QString key = QString::fromUtf8(name);
            if (position < 0) {
                Add(FindingKind::UnknownKey, object,
                    QStringLiteral("the %1 has no key '%2'; it is ignored")
                        .arg(KindName(object.GetKind()), key));
            } else if (std::any_of(read.begin(), read.end(), [&](pugi::xml_node done) {
                           return std::strcmp(done.name(), name) == 0;
                       })) {
                Add(FindingKind::KeyOrder, object,
                    QStringLiteral("the key '%1' appears more than once; only the first is read")
                        .arg(key));
            } else {
                Add(FindingKind::KeyOrder, object,
                    QStringLiteral("the key '%1' is out of order and skipped; it would have to "
                                   "stand %2")
                        .arg(key, WherePlaced(reader, position, start)));
            }
        }
    }

    static QString WherePlaced(const CCheckingReader& reader, int position, pugi::xml_node start)
    {
        if (position > 0)
            return QStringLiteral("after '%1'").arg(QString::fromUtf8(reader.KeyAt(position - 1)));
        if (start)
            return QStringLiteral("right after '%1'").arg(QLatin1String(kKindElement));
        return QStringLiteral("first");
    }

    void ReportSkippedObject(const CProjectObject& parent, pugi::xml_node child,
                             pugi::xml_node cursor)
    {
        Add(FindingKind::SkippedObject, parent,
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
            Add(FindingKind::UnknownKind, parent,
                QStringLiteral("%1 is dropped with its content (%2 objects inside)")
                    .arg(Describe(element))
                    .arg(CountObjects(element)));
            return true;
        }
        const int kind = ParseDecimal(kindNode.child_value());
        // Windows take their default rectangle when constructed, which ReadProperties
        // tells an unusable rectangle of the file by; the others wait for their names as
        // in the loader (no count of siblings for a name the file gives).
        std::unique_ptr<CProjectObject> child =
            kind == KindWindow ? parent.CreateChild(kind) : parent.CreateChildForLoading(kind);
        if (!child) {
            const QString reason = KindName(kind) == QLatin1String("unknown")
                                       ? QStringLiteral("its kind %1 is unknown").arg(kind)
                                       : QStringLiteral("a %1 may not stand in a %2")
                                             .arg(KindName(kind), KindName(parent.GetKind()));
            Add(FindingKind::UnknownKind, parent,
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
            AddDropped(
                FindingKind::ImplicitWindow, *child,
                QStringLiteral("an implicit window carries exactly one zone; this one has %1 and "
                               "is dropped")
                    .arg(child->GetChildCount()));
            return true;
        }
        parent.AddChild(std::move(child));
        return true;
    }

    ProjectFindings& m_findings;
    CheckingMemory m_memory;
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

namespace {

// Parses the bytes where they are (the parser writes into them).
bool CheckBytes(QByteArray& bytes, ProjectFindings& findings)
{
    pugi::xml_document document;
    if (!document.load_buffer_inplace(bytes.data(), static_cast<size_t>(bytes.size()),
                                      pugi::parse_default, pugi::encoding_auto))
        return false;
    return CheckDocument(document, findings);
}

} // namespace

bool CheckProjectLoadingBuffer(const QByteArray& bytes, ProjectFindings& findings)
{
    QByteArray copy = bytes;
    return CheckBytes(copy, findings);
}

bool CheckProjectLoading(const QString& path, ProjectFindings& findings)
{
    QByteArray bytes;
    QString reason;
    if (!IsSafeNamedFile(path, &reason, file_limits::kProjectFile) ||
        !ReadFileBounded(path, file_limits::kProjectFile, &bytes, &reason))
        return false;
    return CheckBytes(bytes, findings);
}
