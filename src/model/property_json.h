#pragma once

#include "model/property_io.h"

#include <QJsonObject>

// Collects the property elements an object would write, key to value.
class CPropertyJson final : public CPropertyIo
{
public:
    bool IsReading() const override { return false; }
    const QJsonObject& Object() const { return m_object; }

protected:
    bool Number(const char* key, std::int32_t& value) override;
    bool TextValue(const char* key, QString& value) override;

private:
    QJsonObject m_object;
};
