#include "model/xml_navigator.h"

#include "model/property_io.h"

#include "base/durable_file.h"

#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <vector>

struct CXmlNavigator::Private
{
    pugi::xml_document document;
    pugi::xml_node parent;
    pugi::xml_node main;
    pugi::xml_node child;
    // Main positions of the levels above, restored by OutOfElem.
    std::vector<pugi::xml_node> outerMains;
    // The element names among the children of namesOf, gathered once a search there
    // failed after a long walk: an object with 40 000 windows would otherwise walk them
    // all again for every property the file leaves out.
    pugi::xml_node namesOf;
    std::unordered_set<std::string_view> names;
    QString parseError;

    void Reset()
    {
        parent = document;
        main = {};
        child = {};
        outerMains.clear();
        parseError.clear();
        ForgetNames();
    }
    void ForgetNames()
    {
        namesOf = {};
        names.clear();
    }
    bool SurelyAbsent(const char* name) const
    {
        return namesOf == parent && names.find(std::string_view(name)) == names.end();
    }
    void GatherNames()
    {
        ForgetNames();
        namesOf = parent;
        for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling())
            if (node.type() == pugi::node_element)
                names.insert(std::string_view(node.name()));
    }
};

namespace {

class BufferWriter final : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    QByteArray bytes;
};

// Processing instructions, comments and the declaration are not kept: an element is then
// the only kind of node that has a name, which FindElem relies on.
constexpr unsigned kParseOptions = pugi::parse_default;
constexpr unsigned kFormatOptions = pugi::format_indent;

// The parser's description with the line and column (from 1) of the offset it reports.
QString DescribeParseError(const pugi::xml_parse_result& result, const char* data, std::size_t size)
{
    if (result.status == pugi::status_no_document_element)
        return {};
    int line = 1;
    int column = 1;
    const std::size_t end =
        std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)), size);
    for (std::size_t i = 0; data && i < end; ++i) {
        if (data[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("%1 at line %2, column %3")
        .arg(QString::fromUtf8(result.description()))
        .arg(line)
        .arg(column);
}

} // namespace

CXmlNavigator::CXmlNavigator() : d(std::make_unique<Private>())
{
    d->Reset();
}

CXmlNavigator::~CXmlNavigator() = default;

void CXmlNavigator::Create()
{
    d->document.reset();
    d->Reset();
}

bool CXmlNavigator::LoadBuffer(const void* data, std::size_t size)
{
    d->document.reset();
    d->Reset();
    const pugi::xml_parse_result result =
        d->document.load_buffer(data, size, kParseOptions, pugi::encoding_auto);
    if (!result)
        d->parseError = DescribeParseError(result, static_cast<const char*>(data), size);
    return static_cast<bool>(result);
}

bool CXmlNavigator::Load(const QString& path)
{
    d->document.reset();
    d->Reset();
    const QByteArray name = QFile::encodeName(path);
    const pugi::xml_parse_result result =
        d->document.load_file(name.constData(), kParseOptions, pugi::encoding_auto);
    if (!result) {
        // Only a failure reads the file again, to turn the offset into a line and column.
        QByteArray bytes;
        QFile file(path);
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
            bytes = file.read(std::max<std::ptrdiff_t>(result.offset, 0) + 1);
        d->parseError =
            DescribeParseError(result, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return static_cast<bool>(result);
}

const QString& CXmlNavigator::ParseErrorText() const
{
    return d->parseError;
}

QByteArray CXmlNavigator::SaveToBuffer() const
{
    BufferWriter writer;
    d->document.save(writer, "\t", kFormatOptions, pugi::encoding_utf8);
    return writer.bytes;
}

bool CXmlNavigator::Save(const QString& path) const
{
    return WriteFileDurably(path, SaveToBuffer());
}

void CXmlNavigator::AddProcessingInstruction(const char* target, const char* text)
{
    d->ForgetNames();
    pugi::xml_node_type type = qstrcmp(target, "xml") == 0 ? pugi::node_declaration : pugi::node_pi;
    pugi::xml_node node =
        d->main ? d->parent.insert_child_after(type, d->main) : d->parent.append_child(type);
    if (type == pugi::node_pi) {
        node.set_name(target);
        node.set_value(text);
    } else {
        // The XML declaration: the project file declares its version and no encoding,
        // which makes it UTF-8, the encoding it is written in.
        node.append_attribute("version") = "1.0";
    }
    d->main = node;
}

void CXmlNavigator::AddElem(const char* name)
{
    d->ForgetNames();
    d->main = d->main ? d->parent.insert_child_after(pugi::node_element, d->main)
                      : d->parent.append_child(pugi::node_element);
    d->main.set_name(name);
    d->child = {};
}

void CXmlNavigator::AddChildElem(const char* name, const QString& text)
{
    d->ForgetNames();
    if (!d->main)
        return;
    d->child = d->main.append_child(name);
    if (!text.isEmpty())
        d->child.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

void CXmlNavigator::AddChildElem(const char* name, int number)
{
    d->ForgetNames();
    if (!d->main)
        return;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    d->child = d->main.append_child(name);
    d->child.append_child(pugi::node_pcdata).set_value(digits);
}

bool CXmlNavigator::FindElem(const char* name)
{
    pugi::xml_node node;
    if (name == nullptr || *name == '\0') {
        node = d->main ? d->main.next_sibling() : d->parent.first_child();
        while (node && node.type() != pugi::node_element)
            node = node.next_sibling();
    } else if (!d->SurelyAbsent(name)) {
        // A walk by name (only elements are named, see kParseOptions).
        constexpr int kLongWalk = 64;
        int walked = 0;
        node = d->main ? d->main.next_sibling() : d->parent.first_child();
        for (; node && std::strcmp(node.name(), name) != 0; node = node.next_sibling())
            ++walked;
        if (!node && walked > kLongWalk && d->namesOf != d->parent)
            d->GatherNames();
    }
    if (!node)
        return false;
    d->main = node;
    d->child = {};
    return true;
}

void CXmlNavigator::IntoElem()
{
    if (!d->main)
        return;
    d->outerMains.push_back(d->parent);
    d->parent = d->main;
    d->main = d->child;
    d->child = {};
}

void CXmlNavigator::OutOfElem()
{
    if (d->outerMains.empty())
        return;
    d->child = d->main;
    d->main = d->parent;
    d->parent = d->outerMains.back();
    d->outerMains.pop_back();
}

QString CXmlNavigator::GetElemText() const
{
    return QString::fromUtf8(d->main.child_value());
}

const char* CXmlNavigator::GetElemUtf8() const
{
    return d->main.child_value();
}

const char* CXmlNavigator::ElemName() const
{
    return d->main.name();
}

int CXmlNavigator::GetElemNumber() const
{
    return ParseDecimal(d->main.child_value());
}

int CXmlNavigator::Depth() const
{
    return static_cast<int>(d->outerMains.size());
}

std::int32_t ParseDecimal(const char* text)
{
    if (!text)
        return 0;
    // Most values are a few plain digits.
    if (*text >= '0' && *text <= '9' &&
        (text[1] == '\0' || (text[1] >= '0' && text[1] <= '9' && text[2] == '\0')))
        return text[1] == '\0' ? *text - '0' : (*text - '0') * 10 + (text[1] - '0');
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<std::int32_t>(value);
}
