#include "model_fixtures.h"

#include "base/last_error.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/property_json.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "model/xml_navigator.h"
#include "support/test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Feeds every property a value of its own, as a reader would from a file, so that a
// save and load can be checked field by field.
class PropertyScrambler final : public CPropertyIo
{
public:
    explicit PropertyScrambler(int seed) : m_seed(seed) {}
    bool IsReading() const override { return true; }

protected:
    bool Number(const char* key, std::int32_t& value) override
    {
        const QByteArray name(key);
        if (name == "tbmrs" || name == "tbmcs") {
            value = name == "tbmrs" ? 3 : 4;
            return true;
        }
        if (name == "varno")
            return false;
        const QByteArray hash =
            QCryptographicHash::hash(name + QByteArray::number(m_seed), QCryptographicHash::Md5);
        std::int32_t bits = 0;
        std::memcpy(&bits, hash.constData(), sizeof bits);
        value = bits;
        return true;
    }
    bool TextValue(const char* key, QString& value) override
    {
        const QByteArray name(key);
        if (name == "rect")
            value = QStringLiteral("3,5,%1,%2").arg(40 + m_seed).arg(21);
        else
            value = QStringLiteral("%1 <&> «%2» 文字").arg(QLatin1String(key)).arg(m_seed);
        return true;
    }

private:
    int m_seed;
};

void Scramble(CProjectObject& object, int& seed)
{
    PropertyScrambler scrambler(seed++);
    object.VisitProperties(scrambler);
    object.ForEachChild([&](CProjectObject& child) { Scramble(child, seed); });
}

QJsonObject TreeJson(const CProjectObject& object)
{
    CPropertyJson props;
    const_cast<CProjectObject&>(object).VisitProperties(props);
    QJsonArray children;
    object.ForEachChild([&](const CProjectObject& child) { children.append(TreeJson(child)); });
    QJsonObject json = props.Object();
    json.insert(QStringLiteral("#children"), children);
    return json;
}

// One object of every kind: a screen, a program, an explicit window with every zone kind,
// and an implicit window carrying a text zone.
struct EveryKind : OneProgram
{
    EveryKind()
    {
        CPlayWindow* window = AddWindow();
        for (int kind : {KindText, KindImage, KindAnimate, KindTable, KindClock, KindDateTime,
                         KindTemperature, KindCountdown})
            window->AddChild(window->CreateChild(kind));
        CPlayWindow* implicit = AddWindow();
        implicit->SetFore(0);
        implicit->AddChild(implicit->CreateChild(KindText));
    }
};

std::unique_ptr<CProjectRoot> Reload(const CProjectRoot& root)
{
    auto loaded = std::make_unique<CProjectRoot>();
    EXPECT_TRUE(loaded->LoadProjectBuffer(root.SaveProjectBuffer())) << LastError().toStdString();
    return loaded;
}

QStringList ElementNames(const QByteArray& xml, const QString& objectName)
{
    // The names of the property elements of the object element whose "lite" is objectName.
    CXmlNavigator navigator;
    EXPECT_TRUE(navigator.LoadBuffer(xml.constData(), static_cast<size_t>(xml.size())));
    QStringList found;
    std::function<bool()> walk = [&]() -> bool {
        QStringList names;
        bool isTarget = false;
        while (navigator.FindElem()) {
            const QString text = navigator.GetElemText();
            names.append(QString::fromUtf8(navigator.ElemName()));
            if (names.last() == QStringLiteral("lite") && text == objectName)
                isTarget = true;
            if (names.last() == QStringLiteral("Varnolite")) {
                names.removeLast();
                navigator.IntoElem();
                const bool done = walk();
                navigator.OutOfElem();
                if (done)
                    return true;
            }
        }
        if (isTarget)
            found = names;
        return isTarget;
    };
    navigator.FindElem();
    navigator.IntoElem();
    walk();
    return found;
}

QString Key(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

TEST(ProjectFileRoundTrip, EveryPropertyOfEveryClassComesBack)
{
    EveryKind project;
    int seed = 1;
    Scramble(*project.root, seed);
    const auto loaded = Reload(*project.root);
    EXPECT_EQ(TreeJson(*loaded), TreeJson(*project.root));
}

TEST(ProjectFileRoundTrip, ControllerBlockComesBackExceptTheNetworkOptions)
{
    EveryKind project;
    int seed = 7;
    Scramble(*project.root, seed);
    auto& bytes = project.screen->Params().Bytes();
    for (int i = 36; i < 56; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i);
    const auto loaded = Reload(*project.root);
    const auto& again = static_cast<CScreen*>(loaded->GetChild(0))->Params().Bytes();
    for (int i = 0; i < ControllerParams::kSize; ++i) {
        if (i >= 36 && i < 56)
            EXPECT_EQ(again[static_cast<size_t>(i)], 0) << i;
        else
            EXPECT_EQ(again[static_cast<size_t>(i)], bytes[static_cast<size_t>(i)]) << i;
    }
}

TEST(ProjectFileRoundTrip, ValuesThatAreNotStoredReturnToTheirDefaults)
{
    EveryKind project;
    auto* window = static_cast<CPlayWindow*>(project.program->GetChild(0));
    auto* text = static_cast<CTextZone*>(window->GetChild(0));
    text->SetClearMode(1);
    project.program->SetBorderWidth(5);
    auto* clock = static_cast<CClockZone*>(window->GetChild(4));
    clock->SetAction(4);
    text->SetAction(4);
    const auto loaded = Reload(*project.root);
    auto* program = static_cast<CProgram*>(loaded->GetChild(0)->GetChild(0));
    auto* loadedWindow = program->GetChild(0);
    EXPECT_EQ(static_cast<CEffectZone*>(loadedWindow->GetChild(0))->GetClearMode(), 0);
    EXPECT_EQ(program->BorderWidth(), 0);
    // Live zones always enter directly; other kinds keep what was stored.
    EXPECT_EQ(static_cast<CEffectZone*>(loadedWindow->GetChild(4))->GetAction(), 1);
    EXPECT_EQ(static_cast<CEffectZone*>(loadedWindow->GetChild(0))->GetAction(), 4);
}

TEST(ProjectFileLayout, DocumentStartsWithTheDeclarationAndProject)
{
    auto root = CProjectRoot::NewProject();
    const QByteArray xml = root->SaveProjectBuffer();
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\"?>")) << xml.left(40).toStdString();
    EXPECT_TRUE(
        xml.contains("<project>\n\t<Varnolite>\n\t\t<varno>0</varno>\n\t\t<lite>NULL</lite>"));
    // The start date default is written as a signed 32-bit number.
    EXPECT_TRUE(xml.contains("<sd>-2147468683</sd>"));
    EXPECT_TRUE(xml.contains("<ilp>18199</ilp>"));
    EXPECT_TRUE(xml.contains("<sli />"));
}

TEST(ProjectFileLayout, ElementOrderOfEachClass)
{
    EveryKind project;
    const QByteArray xml = project.root->SaveProjectBuffer();
    const QStringList base = {Key("varno"), Key("lite"), Key("fore")};
    const QStringList effect = base + QStringList{Key("action"), Key("speed"), Key("repeat"),
                                                  Key("delay"),  Key("flash"), Key("flashdelay")};
    const QStringList richText =
        effect + QStringList{Key("rtf"), Key("va"),  Key("icc"),  Key("inl"),
                             Key("inr"), Key("isf"), Key("line"), Key("top")};

    QStringList screen = base;
    for (const char* key : {"pc", "pd", "pde", "pf", "ph1", "ph2", "pl", "po1", "po2", "pp", "pr0",
                            "pr1", "pr2", "pr3", "pr4", "ps", "pw", "pwb"})
        screen << Key(key);
    for (int k = 0; k < 6; ++k)
        screen << QStringLiteral("ll2%1").arg(k) << QStringLiteral("ll4%1").arg(k)
               << QStringLiteral("ll5%1").arg(k);
    screen << Key("ll1") << Key("ll2");
    for (int k = 0; k < 4; ++k)
        screen << QStringLiteral("si2%1").arg(k) << QStringLiteral("si4%1").arg(k)
               << QStringLiteral("si5%1").arg(k);
    for (const char* key : {"sr0",  "sr1",  "ss1",  "ss2",  "ili0", "ili1", "ili2", "ili3", "ilm0",
                            "ilm1", "ilm2", "ilm3", "ilm4", "ilm5", "ilp",  "cbr",  "cpt",  "ctp",
                            "to",   "sli",  "v0",   "v1",   "v2",   "v3",   "v4",   "slt"})
        screen << Key(key);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Panel1")), screen);

    QStringList program = base;
    for (const char* key : {"pt", "time", "sd", "ed", "st", "et", "wk", "fcf", "fenable", "fp",
                            "fpath", "fa", "fs", "fspeed", "fflat", "cfcc", "cfnl", "cfnr", "cfsf"})
        program << Key(key);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Program1")), program);

    const QStringList window =
        base + QStringList{Key("rect"), Key("fe"), Key("ft"), Key("fs"), Key("fd"), Key("fc")};
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Window1")), window);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Text1")), richText);
    const QStringList animate =
        richText + QStringList{Key("ada"), Key("adb"), Key("ast"), Key("att")};
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Animate1")), animate);
    const QStringList image =
        effect + QStringList{Key("ip00"), Key("ip01"), Key("ip02"), Key("ip03"), Key("ip04")};
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Image1")), image);

    QStringList table = effect + QStringList{Key("crl"), Key("tbmrs"), Key("tbmcs")};
    for (int r = 0; r < 2; ++r)
        table << QStringLiteral("r_h%1").arg(r) << QStringLiteral("r_s%1").arg(r)
              << QStringLiteral("r_e%1").arg(r);
    table << Key("c0") << Key("c1");
    for (int j = 0; j < 4; ++j) {
        for (const char* key :
             {"c_bb", "c_bi", "c_bu", "c_cb", "c_cf", "c_na", "c_ns", "c_sf", "c_st"})
            table << QStringLiteral("%1%2").arg(QLatin1String(key)).arg(j);
    }
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Table1")), table);

    QStringList clock = effect;
    for (int k = 1; k <= 9; ++k)
        clock << QStringLiteral("Varnolite0%1").arg(k);
    for (int k = 0; k < 6; ++k)
        clock << QStringLiteral("Varnolite1%1").arg(k) << QStringLiteral("Varnolite2%1").arg(k);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Clock1")), clock);

    QStringList dateTime = effect + QStringList{Key("Varnolite01")};
    for (int k = 0; k < 4; ++k) {
        for (int d = 3; d <= 7; ++d)
            dateTime << QStringLiteral("Varnolite%1%2").arg(d).arg(k);
    }
    dateTime << Key("Varnolite08") << Key("Varnolite09") << Key("Varnolite0a")
             << Key("Varnolite0b");
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Time1")), dateTime);

    QStringList temperature = effect;
    for (const char* key : {"tbho", "tbs",   "tbto", "thbl", "thel",  "thnl",  "thnt", "thtt",
                            "thcn", "tnhct", "tnns", "tnst", "tntcn", "tntct", "tnts", "tsf",
                            "tshb", "tshe",  "tstb", "tste", "ttbl",  "ttel",  "ttnt", "tttt"})
        temperature << Key(key);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Temperature1")), temperature);

    QStringList countdown = effect;
    for (const char* key : {"bop0", "bop1", "bop2", "bop3", "ncs",  "nct",  "ncr0", "ncr1",
                            "ncr2", "ncr3", "ncr4", "ncr5", "ncr6", "ncr7", "ncr8", "nfs",
                            "nft",  "nnl",  "nnt",  "ntt",  "ntl",  "sf",   "sff"})
        countdown << Key(key);
    EXPECT_EQ(ElementNames(xml, QStringLiteral("Count down1")), countdown);
}
