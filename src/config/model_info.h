#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The identity of a controller card: family, variant and firmware version as the card
// reports them to the identify command, with the model name and version text derived
// from them. Every model-dependent decision is taken on the model code.
class CModelInfo
{
public:
    CModelInfo();

    // Parses a model name such as "RZ-C2"; on failure nothing changes.
    bool AssignFromName(const QString& name);
    // Takes the five identity bytes; fails (changing nothing) unless count is 5.
    bool AssignFromIdentity(const std::uint8_t* bytes, int count);
    bool AssignFromIdentity(const std::array<std::uint8_t, 5>& bytes)
    {
        return AssignFromIdentity(bytes.data(), 5);
    }

    std::array<std::uint8_t, 5> Identity() const
    {
        return {m_family, m_sub, m_versionMajor, m_versionMinor, m_versionBuild};
    }
    // family × 256 + (variant AND 0x0F)
    int GetModelCode() const { return m_family * 256 + (m_sub & 0x0F); }
    const QString& GetName() const { return m_name; }
    const QString& GetVersionText() const { return m_version; }
    int VersionMajor() const { return m_versionMajor; }
    // String-table number of the capability text; 0 when there is none.
    int GetCapabilityTextId() const;
    bool IsUModel() const;
    bool ShowsWiringDiagram() const;
    bool IsBasicModel() const;

    // The models offered in the setup dialogs, in their order.
    static QStringList ListedModelNames();

private:
    void Refresh();

    QString m_name;
    QString m_version;
    std::uint8_t m_family = 0;
    std::uint8_t m_sub = 0;
    std::uint8_t m_versionMajor = 0;
    std::uint8_t m_versionMinor = 0;
    std::uint8_t m_versionBuild = 0;
};
