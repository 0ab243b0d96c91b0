#include "config/model_info.h"

namespace {

struct ModelRow
{
    const char* name;
    int code;
    int capabilityId; // 0: none
    bool uModel;
    bool wiringDiagram;
    bool basic;
};

constexpr ModelRow kModels[] = {
    {"RZ-S1", 0x8000, 42022, false, true, true},   {"RZ-A2", 0x8001, 42015, false, true, false},
    {"RI-ZI", 0x8002, 42023, true, false, true},   {"RZ-A3", 0x8101, 42018, false, true, false},
    {"RI-ZA", 0x8102, 42019, true, false, false},  {"RZ-M2", 0x9001, 42016, false, true, false},
    {"RZ-MU", 0x9002, 42016, true, true, false},   {"RZ-MN", 0x9003, 42016, false, false, false},
    {"RZ-B+", 0x9004, 0, false, true, false},      {"RZ-M+", 0x9005, 0, false, true, false},
    {"RZ-C2", 0x9101, 42017, false, true, false},  {"RZ-CU", 0x9102, 42017, true, true, false},
    {"RZ-CN", 0x9103, 42017, false, false, false}, {"RZ-C3U", 0x9104, 42024, true, true, false},
    {"RZ-D2", 0x9201, 42020, false, true, false},  {"RZ-DU", 0x9202, 42020, true, true, false},
    {"RZ-DN", 0x9203, 42020, false, true, false},  {"RZ-E2", 0x9301, 42021, false, true, false},
    {"RZ-EU", 0x9302, 42021, true, true, false},   {"RZ-EN", 0x9303, 42021, false, false, false},
};

const ModelRow* FindModel(int code)
{
    for (const ModelRow& row : kModels) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

// Family and variant of a model name; false when the name is not one of the series.
bool ParseName(const QString& name, int& family, int& sub)
{
    // The listed names whose letters do not follow the series pattern (RI-ZI, RI-ZA) are
    // taken from the table, so that every model the setup dialogs offer can be chosen.
    if (CModelInfo::ListedModelNames().contains(name)) {
        for (const ModelRow& row : kModels) {
            if (name == QLatin1String(row.name)) {
                family = row.code >> 8;
                sub = row.code & 0x0F;
                return true;
            }
        }
    }
    if (name.size() == 5) {
        const QChar kind = name[3];
        const QChar last = name[4];
        if (kind == u'A') {
            if (last == u'2') {
                family = 0x80, sub = 1;
            } else if (last == u'3') {
                family = 0x81, sub = 1;
            } else if (last == u'U') {
                family = 0x81, sub = 2;
            } else {
                return false;
            }
            return true;
        }
        if (kind == u'S') {
            family = 0x80;
            sub = last == u'U' ? 2 : 0;
            return true;
        }
        static const struct
        {
            char16_t letter;
            int family;
        } kFamilies[] = {{u'M', 0x90}, {u'C', 0x91}, {u'D', 0x92}, {u'E', 0x93}};
        for (const auto& entry : kFamilies) {
            if (kind != QChar(entry.letter))
                continue;
            if (last == u'2')
                sub = 1;
            else if (last == u'U')
                sub = 2;
            else if (last == u'N')
                sub = 3;
            else
                return false;
            family = entry.family;
            return true;
        }
        // Any other fourth character is tried as a six-character name, which fails.
        return false;
    }
    if (name.size() == 6) {
        const qsizetype dash = name.indexOf(u'-');
        if (dash >= 0 && name.mid(dash + 1) == QStringLiteral("C3U")) {
            family = 0x91;
            sub = 4;
            return true;
        }
    }
    return false;
}

} // namespace

CModelInfo::CModelInfo()
{
    Refresh();
}

bool CModelInfo::AssignFromName(const QString& name)
{
    int family = 0;
    int sub = 0;
    if (!ParseName(name, family, sub))
        return false;
    m_family = static_cast<std::uint8_t>(family);
    m_sub = static_cast<std::uint8_t>(sub);
    m_versionMajor = m_versionMinor = m_versionBuild = 0;
    Refresh();
    return true;
}

bool CModelInfo::AssignFromIdentity(const std::uint8_t* bytes, int count)
{
    if (!bytes || count != 5)
        return false;
    m_family = bytes[0];
    m_sub = bytes[1];
    m_versionMajor = bytes[2];
    m_versionMinor = bytes[3];
    m_versionBuild = bytes[4];
    Refresh();
    return true;
}

int CModelInfo::GetCapabilityTextId() const
{
    const ModelRow* row = FindModel(GetModelCode());
    return row ? row->capabilityId : 0;
}

bool CModelInfo::IsUModel() const
{
    const ModelRow* row = FindModel(GetModelCode());
    return row && row->uModel;
}

bool CModelInfo::ShowsWiringDiagram() const
{
    const ModelRow* row = FindModel(GetModelCode());
    return !row || row->wiringDiagram;
}

bool CModelInfo::IsBasicModel() const
{
    const ModelRow* row = FindModel(GetModelCode());
    return row && row->basic;
}

QStringList CModelInfo::ListedModelNames()
{
    return QStringLiteral("RZ-S1|RI-ZI|RZ-A2|RZ-A3|RI-ZA|RZ-M2|RZ-MU|RZ-MN|RZ-C2|RZ-C3U|RZ-CU|"
                          "RZ-CN|RZ-D2|RZ-DU|RZ-EU")
        .split(u'|');
}

void CModelInfo::Refresh()
{
    const ModelRow* row = FindModel(GetModelCode());
    m_name = row ? QString::fromLatin1(row->name) : QStringLiteral("Unknow");
    m_version =
        QStringLiteral("%1.%2.%3").arg(m_versionMajor).arg(m_versionMinor).arg(m_versionBuild);
}
