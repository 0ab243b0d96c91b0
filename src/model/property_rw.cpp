#include "model/property_rw.h"

#include "model/xml_navigator.h"

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
    value = m_navigator.GetElemText();
    return true;
}
