// The controller model table: names, predicates and name parsing.
#include "config/model_info.h"

#include <gtest/gtest.h>

namespace {
CModelInfo FromIdentity(std::uint8_t family, std::uint8_t sub)
{
    CModelInfo info;
    const std::uint8_t bytes[] = {family, sub, 0, 1, 2};
    EXPECT_TRUE(info.AssignFromIdentity(bytes, 5));
    return info;
}
} // namespace

TEST(ModelInfo, IdentityBytesGiveNameVersionAndCode)
{
    CModelInfo info;
    const std::uint8_t bytes[] = {0x91, 0x14, 2, 0, 7};
    ASSERT_TRUE(info.AssignFromIdentity(bytes, 5));
    EXPECT_EQ(info.GetModelCode(), 0x9104);
    EXPECT_EQ(info.GetName(), QStringLiteral("RZ-C3U"));
    EXPECT_EQ(info.GetVersionText(), QStringLiteral("2.0.7"));
    EXPECT_EQ(info.GetCapabilityTextId(), 42024);
}

TEST(ModelInfo, WrongIdentityLengthChangesNothing)
{
    CModelInfo info;
    const std::uint8_t first[] = {0x90, 0x01, 1, 2, 3};
    ASSERT_TRUE(info.AssignFromIdentity(first, 5));
    const std::uint8_t other[] = {0x92, 0x02, 4, 5, 6, 7};
    EXPECT_FALSE(info.AssignFromIdentity(other, 4));
    EXPECT_FALSE(info.AssignFromIdentity(other, 6));
    EXPECT_EQ(info.GetName(), QStringLiteral("RZ-M2"));
    EXPECT_EQ(info.GetVersionText(), QStringLiteral("1.2.3"));
}

TEST(ModelInfo, UnlistedAndUnknownModels)
{
    const CModelInfo plus = FromIdentity(0x90, 0x04);
    EXPECT_EQ(plus.GetName(), QStringLiteral("RZ-B+"));
    EXPECT_EQ(plus.GetCapabilityTextId(), 0);
    const CModelInfo unknown = FromIdentity(0x70, 0x01);
    EXPECT_EQ(unknown.GetName(), QStringLiteral("Unknow"));
    EXPECT_FALSE(unknown.IsUModel());
    EXPECT_FALSE(unknown.IsBasicModel());
    EXPECT_TRUE(unknown.ShowsWiringDiagram());
    EXPECT_EQ(CModelInfo().GetName(), QStringLiteral("Unknow"));
}

TEST(ModelInfo, Predicates)
{
    const QStringList uModels = {"RI-ZI", "RI-ZA", "RZ-MU", "RZ-CU", "RZ-C3U", "RZ-DU", "RZ-EU"};
    const QStringList noDiagram = {"RI-ZI", "RI-ZA", "RZ-MN", "RZ-CN", "RZ-EN"};
    const QStringList basic = {"RZ-S1", "RI-ZI"};
    int seen = 0;
    for (int family : {0x80, 0x81, 0x90, 0x91, 0x92, 0x93}) {
        for (int sub = 0; sub < 16; ++sub) {
            const CModelInfo info =
                FromIdentity(static_cast<std::uint8_t>(family), static_cast<std::uint8_t>(sub));
            if (info.GetName() == QStringLiteral("Unknow"))
                continue;
            ++seen;
            EXPECT_EQ(info.IsUModel(), uModels.contains(info.GetName()))
                << info.GetName().toStdString();
            EXPECT_EQ(info.ShowsWiringDiagram(), !noDiagram.contains(info.GetName()));
            EXPECT_EQ(info.IsBasicModel(), basic.contains(info.GetName()));
        }
    }
    EXPECT_EQ(seen, 20);
}

TEST(ModelInfo, NameParsing)
{
    CModelInfo info;
    ASSERT_TRUE(info.AssignFromName(QStringLiteral("RZ-SX")));
    EXPECT_EQ(info.GetName(), QStringLiteral("RZ-S1"));
    ASSERT_TRUE(info.AssignFromName(QStringLiteral("XX-SU")));
    EXPECT_EQ(info.GetModelCode(), 0x8002);
    ASSERT_TRUE(info.AssignFromName(QStringLiteral("RZ-AU")));
    EXPECT_EQ(info.GetModelCode(), 0x8102);
    ASSERT_TRUE(info.AssignFromName(QStringLiteral("RZ-C3U")));
    EXPECT_EQ(info.GetModelCode(), 0x9104);
    EXPECT_EQ(info.GetVersionText(), QStringLiteral("0.0.0"));
    ASSERT_TRUE(info.AssignFromName(QStringLiteral("RZ-EN")));
    EXPECT_EQ(info.GetModelCode(), 0x9303);

    for (const char* bad :
         {"RZ-B+", "RZ-M+", "RZ-A4", "RZ-M3", "RZ-C3", "RZ-C3UX", "", "RZ-Q2", "RZ-X3U"}) {
        EXPECT_FALSE(info.AssignFromName(QString::fromLatin1(bad))) << bad;
        EXPECT_EQ(info.GetModelCode(), 0x9303) << bad;
    }
}

TEST(ModelInfo, EveryListedNameParsesToItself)
{
    const QStringList listed = CModelInfo::ListedModelNames();
    ASSERT_EQ(listed.size(), 15);
    for (const QString& name : listed) {
        CModelInfo info;
        ASSERT_TRUE(info.AssignFromName(name)) << name.toStdString();
        EXPECT_EQ(info.GetName(), name);
    }
}
