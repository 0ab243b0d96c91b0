#include "model/property_json.h"

bool CPropertyJson::Number(const char* key, std::int32_t& value)
{
    m_object.insert(QLatin1String(key), static_cast<qint64>(value));
    return false;
}

bool CPropertyJson::TextValue(const char* key, QString& value)
{
    m_object.insert(QLatin1String(key), value);
    return false;
}
