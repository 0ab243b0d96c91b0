#pragma once

#include "model/property_io.h"

class CXmlNavigator;

// Writes each property as a child element of the navigator's main element.
class CPropertyWriter final : public CPropertyIo
{
public:
    explicit CPropertyWriter(CXmlNavigator& navigator) : m_navigator(navigator) {}
    bool IsReading() const override { return false; }

protected:
    bool Number(const char* key, std::int32_t& value) override;
    bool TextValue(const char* key, QString& value) override;

private:
    CXmlNavigator& m_navigator;
};

// Reads each property by searching forward among the siblings from the last one found.
class CPropertyReader final : public CPropertyIo
{
public:
    explicit CPropertyReader(CXmlNavigator& navigator) : m_navigator(navigator) {}
    bool IsReading() const override { return true; }

protected:
    bool Number(const char* key, std::int32_t& value) override;
    bool TextValue(const char* key, QString& value) override;

private:
    CXmlNavigator& m_navigator;
};
