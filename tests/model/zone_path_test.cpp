// Zone paths: names, numbers, implicit windows, escapes and the texts of what went wrong.
#include "model_fixtures.h"

#include "model/effect_zone.h"
#include "model/zone_path.h"

#include <gtest/gtest.h>

namespace {

// Panel1 / Program1 { Window1 { Text1, A/B, Dup, Dup }, (implicit) { Clock1 } },
//          Program2 { (implicit) { Text1 } }
class ZonePathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        p.program->SetName(QStringLiteral("Program1"));
        CPlayWindow* window = p.AddWindow();
        window->SetName(QStringLiteral("Window1"));
        text = Named(p.AddZone<CEffectZone>(window, KindText), "Text1");
        slashed = Named(p.AddZone<CEffectZone>(window, KindText), "A/B");
        Named(p.AddZone<CEffectZone>(window, KindText), "Dup");
        Named(p.AddZone<CEffectZone>(window, KindText), "Dup");
        clock = Named(p.AddZone<CEffectZone>(Implicit(*p.program), KindClock), "Clock1");

        auto program = p.screen->CreateChild(KindProgram);
        auto* second = program.get();
        p.screen->AddChild(std::move(program));
        second->SetName(QStringLiteral("Program2"));
        direct = Named(p.AddZone<CEffectZone>(Implicit(*second), KindText), "Text1");
    }

    static CEffectZone* Named(CEffectZone* zone, const char* name)
    {
        zone->SetName(QString::fromUtf8(name));
        return zone;
    }
    CPlayWindow* Implicit(CProjectObject& program)
    {
        auto window = program.CreateChild(KindWindow);
        window->SetFore(0);
        auto* raw = static_cast<CPlayWindow*>(window.get());
        program.AddChild(std::move(window));
        return raw;
    }
    CEffectZone* Find(const QString& path)
    {
        error.clear();
        return CZonePath::Find(*p.root, path, error);
    }

    OneProgram p;
    CEffectZone* text = nullptr;
    CEffectZone* slashed = nullptr;
    CEffectZone* clock = nullptr;
    CEffectZone* direct = nullptr;
    QString error;
};

TEST_F(ZonePathTest, NamesNumbersAndImplicitWindows)
{
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Window1/Text1")), text);
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Clock1")), clock);
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program2/Text1")), direct);
    EXPECT_EQ(Find(QStringLiteral("s1/p1/w1/z1")), text);
    EXPECT_EQ(Find(QStringLiteral("s1/p1/w2/z1")), clock);
    EXPECT_EQ(Find(QStringLiteral("S1/P2/W1/Z1")), direct);
    EXPECT_EQ(CZonePath::NameOf(*clock), QStringLiteral("Panel1/Program1/Clock1"));
    EXPECT_EQ(CZonePath::NameOf(*text), QStringLiteral("Panel1/Program1/Window1/Text1"));
}

TEST_F(ZonePathTest, SlashesInNamesAreEscaped)
{
    EXPECT_EQ(CZonePath::NameOf(*slashed), QStringLiteral("Panel1/Program1/Window1/A\\/B"));
    EXPECT_EQ(Find(CZonePath::NameOf(*slashed)), slashed);
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Window1/A/B")), nullptr);
    EXPECT_EQ(CZonePath::Escape(QStringLiteral("a\\b/c")), QStringLiteral("a\\\\b\\/c"));
    QStringList parts;
    ASSERT_TRUE(CZonePath::Split(QStringLiteral("x\\\\/y\\/z"), parts, error));
    EXPECT_EQ(parts, (QStringList{QStringLiteral("x\\"), QStringLiteral("y/z")}));
    EXPECT_FALSE(CZonePath::Split(QStringLiteral("a\\b"), parts, error));
    EXPECT_FALSE(CZonePath::Split(QStringLiteral("a\\"), parts, error));
    EXPECT_FALSE(CZonePath::Split(QStringLiteral("a//b"), parts, error));
}

TEST_F(ZonePathTest, MissingAndAmbiguousNamesListWhatExists)
{
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Window1/Text9")), nullptr);
    EXPECT_EQ(error, QStringLiteral("There is no zone named 'Text9' in "
                                    "'Panel1/Program1/Window1'; there are: 'Text1', 'A\\/B', "
                                    "'Dup', 'Dup'."));
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Window1/Dup")), nullptr);
    EXPECT_TRUE(error.startsWith(QStringLiteral("More than one zone is named 'Dup'")))
        << error.toStdString();
    EXPECT_EQ(Find(QStringLiteral("Panel9/Program1/Clock1")), nullptr);
    EXPECT_EQ(error, QStringLiteral("There is no screen named 'Panel9' in the project; there "
                                    "are: 'Panel1'."));
    // The program level offers the windows and the zones standing directly in it.
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Nothing")), nullptr);
    EXPECT_TRUE(error.endsWith(QStringLiteral("there are: 'Window1', 'Clock1'.")))
        << error.toStdString();
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Window1")), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("is a window"))) << error.toStdString();
    EXPECT_EQ(Find(QStringLiteral("Panel1/Program1/Clock1/Clock1")), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("leave the window out"))) << error.toStdString();
}

TEST_F(ZonePathTest, NumbersOutOfRangeAndMalformedPaths)
{
    EXPECT_EQ(Find(QStringLiteral("s1/p1/w3/z1")), nullptr);
    EXPECT_EQ(error, QStringLiteral("There is no window w3 in 's1/p1' (windows there: 2)."));
    EXPECT_EQ(Find(QStringLiteral("s1/p1/w1/z5")), nullptr);
    EXPECT_EQ(Find(QStringLiteral("s2/p1/w1/z1")), nullptr);
    // Not every part in number form: the path is taken by names.
    EXPECT_EQ(Find(QStringLiteral("s1/p1/w0/z1")), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("no screen named 's1'"))) << error.toStdString();
    EXPECT_EQ(Find(QStringLiteral("Panel1")), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("3 or 4 parts")));
    EXPECT_EQ(Find(QString()), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

TEST_F(ZonePathTest, EveryZoneHasANumberPathThatFindsItAgain)
{
    EXPECT_EQ(CZonePath::NumbersOf(*text), QStringLiteral("s1/p1/w1/z1"));
    EXPECT_EQ(CZonePath::NumbersOf(*slashed), QStringLiteral("s1/p1/w1/z2"));
    EXPECT_EQ(CZonePath::NumbersOf(*clock), QStringLiteral("s1/p1/w2/z1"));
    EXPECT_EQ(CZonePath::NumbersOf(*direct), QStringLiteral("s1/p2/w1/z1"));
    for (CEffectZone* zone : {text, slashed, clock, direct})
        EXPECT_EQ(Find(CZonePath::NumbersOf(*zone)), zone);
}

TEST_F(ZonePathTest, ProgramsAreFoundByNamesOrNumbers)
{
    CProjectObject* second = p.screen->GetChild(1);
    EXPECT_EQ(CZonePath::FindProgram(*p.root, QStringLiteral("Panel1/Program2"), error), second);
    EXPECT_EQ(CZonePath::FindProgram(*p.root, QStringLiteral("s1/p1"), error), p.program);
    EXPECT_EQ(CZonePath::FindProgram(*p.root, QStringLiteral("s1/p3"), error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("programs there: 2"))) << error.toStdString();
    EXPECT_EQ(CZonePath::FindProgram(*p.root, QStringLiteral("Panel1/Program9"), error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("'Program1', 'Program2'"))) << error.toStdString();
    EXPECT_EQ(CZonePath::FindProgram(*p.root, QStringLiteral("Panel1/Program1/Window1"), error),
              nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("2 parts"))) << error.toStdString();
}
