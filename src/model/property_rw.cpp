#include "model/property_rw.h"

#include "model/xml_navigator.h"

#include <QAnyStringView>
#include <QUtf8StringView>

bool CPropertyWriter::Number(const char* key, std::int32_t& value)
{
    m_navigator.AddChildElem(key, value);
    return false;
}

bool CPropertyWriter::TextValue(const char* key, QString& value)
{
    m_navigator.AddChildElem(key, value);
    return false;
}

bool CPropertyReader::Number(const char* key, std::int32_t& value)
{
    if (!m_navigator.FindElem(key))
        return false;
    value = m_navigator.GetElemNumber();
    return true;
}

bool CPropertyReader::TextValue(const char* key, QString& value)
{
    if (!m_navigator.FindElem(key))
        return false;
    // Most texts of a file are the defaults the object already holds (fonts, labels, the
    // default document): keep the held copy rather than decode the same text again.
    const QUtf8StringView text(m_navigator.GetElemUtf8());
    if (!QAnyStringView::equal(text, value))
        value = text.toString();
    return true;
}
