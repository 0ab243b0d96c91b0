// The controller's view of compiled screen data: a full round trip, and rejection of
// truncated or inconsistent data.
#include "compile_fixture.h"

#include "model/countdown_zone.h"
#include "model/text_zone.h"
#include "render/decode_screen.h"

class DecodeScreen : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        SetScreen(96, 32, 3, 0);
        // Program 1: two windows, the first with two zones.
        CPlayWindow* w1 = AddWindow({0, 0, 33, 16});
        text = AddZone<CTextZone>(w1, 2);
        text->SetAction(ActionMoveLeft);
        text->SetHold(77);
        text->SetSpeed(4);
        text->SetClearMode(1);
        page = Filled(33, 16, qRgb(0, 0, 0));
        page.setPixel(32, 15, qRgb(255, 255, 0));
        page.setPixel(0, 3, qRgb(0, 0, 200));
        SetPage(text, 1, page);
        countdown = AddZone<CCountdownZone>(w1);
        countdown->SetHold(150);
        CPlayWindow* w2 = AddWindow({40, 8, 96, 32});
        w2->Frame() = WindowFrame{1, 0, 3, 1, 2};
        AddZone<CTextZone>(w2, 3);
        // Program 2: a border and a schedule.
        CProgram* second = AddProgram();
        AddZone<CTextZone>(AddWindow({0, 0, 96, 32}, second));
        second->Schedule().firstDay = 100;
        second->Schedule().lastDay = 200;
        second->Border().enabled = 1;
        second->SetBorderWidth(1);
        QImage pattern(16, 1, QImage::Format_RGB32);
        pattern.fill(qRgb(0, 0, 0));
        pattern.setPixel(2, 0, qRgb(255, 0, 0));
        second->BorderPattern() = pattern;
        QImage strip(1, 16, QImage::Format_RGB32);
        strip.fill(qRgb(0, 255, 0));
        second->BorderStrip() = strip;
    }

    CTextZone* text = nullptr;
    CCountdownZone* countdown = nullptr;
    QImage page;
};

TEST_F(DecodeScreen, RoundTripGivesBackTheStructureAndThePages)
{
    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    DecodedScreen decoded;
    QString error;
    ASSERT_TRUE(DecodeScreenData(data, 3, 0, decoded, error)) << error.toStdString();
    EXPECT_EQ(decoded.length, static_cast<size_t>(data.size()));
    ASSERT_EQ(decoded.programCount, 2);
    const DecodedProgram& p1 = decoded.programs[0];
    ASSERT_EQ(p1.windows.size(), 2u);
    EXPECT_EQ(p1.playTime, 60);
    EXPECT_EQ(p1.border.thickness, 0);
    const DecodedWindow& w1 = p1.windows[0];
    EXPECT_EQ(w1.width, 33);
    EXPECT_EQ(w1.height, 16);
    ASSERT_EQ(w1.zones.size(), 2u);
    const DecodedZone& z1 = w1.zones[0];
    EXPECT_EQ(z1.kind, 1);
    EXPECT_EQ(z1.hold, 77);
    EXPECT_EQ(z1.Action(), ActionMoveLeft);
    EXPECT_EQ(z1.Speed(), 4);
    EXPECT_EQ(z1.ClearMode(), 1);
    ASSERT_EQ(z1.pages.size(), 2u);
    EXPECT_EQ(z1.pages[1].image.pixel(32, 15), qRgb(255, 255, 0));
    EXPECT_EQ(z1.pages[1].image.pixel(0, 3), qRgb(0, 0, 255));
    EXPECT_EQ(z1.pages[0].image.pixel(0, 3), qRgb(0, 0, 0));
    const DecodedZone& z2 = w1.zones[1];
    EXPECT_EQ(z2.kind, 13);
    EXPECT_EQ(z2.hold, 150);
    EXPECT_TRUE(z2.IsLive());
    EXPECT_FALSE(w1.chainRunsOn);
    EXPECT_EQ(p1.windows[1].frameCode, 0x2350);
    EXPECT_EQ(p1.windows[1].zones[0].pages.size(), 3u);
    const DecodedProgram& p2 = decoded.programs[1];
    EXPECT_EQ(p2.firstDay, 100);
    EXPECT_EQ(p2.lastDay, 200);
    EXPECT_EQ(p2.border.thickness, 1);
    EXPECT_EQ(p2.border.pattern.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_EQ(p2.border.pattern.pixel(3, 0), qRgb(0, 0, 0));
    EXPECT_EQ(p2.border.strip.pixel(0, 9), qRgb(0, 255, 0));
}

TEST_F(DecodeScreen, EveryTruncationIsRejected)
{
    const QByteArray data = Compile();
    DecodedScreen decoded;
    for (qsizetype length = 0; length < data.size(); ++length) {
        QString error;
        EXPECT_FALSE(DecodeScreenData(data.left(length), 3, 0, decoded, error)) << length;
        EXPECT_FALSE(error.isEmpty());
    }
    QString error;
    EXPECT_FALSE(DecodeScreenData(data + QByteArray(1, 0), 3, 0, decoded, error));
    EXPECT_TRUE(error.contains(QStringLiteral("follow")));
}

TEST_F(DecodeScreen, InconsistentFieldsAreNamed)
{
    const QByteArray data = Compile();
    DecodedScreen decoded;
    const auto rejects = [&](qsizetype at, char value, const char* words) {
        QByteArray bad = data;
        bad[at] = value;
        QString error;
        EXPECT_FALSE(DecodeScreenData(bad, 3, 0, decoded, error)) << "byte " << at;
        EXPECT_TRUE(error.contains(QLatin1String(words))) << error.toStdString();
    };
    rejects(125, static_cast<char>(data[125] + 1), "check bytes");
    rejects(128, static_cast<char>(data[128] + 1), "Program 1 starts");
    rejects(136 + 408, 0, "marks");
    rejects(136 + 216, static_cast<char>(data[136 + 216] + 4), "window 1 starts");
    rejects(580 + 7, 5, "unknown kind");
    rejects(580 + 6, 0, "no page");
    rejects(580, static_cast<char>(data[580] + 1), "points to");
    rejects(580 + 20 + 2, 1, "bytes 2");
}

TEST_F(DecodeScreen, WrongPolarityShowsInTheFillerColumns)
{
    const QByteArray data = Compile();
    DecodedScreen decoded;
    QString error;
    EXPECT_FALSE(DecodeScreenData(data, 3, 1, decoded, error));
    EXPECT_TRUE(error.contains(QStringLiteral("filler")));
    // With fewer colour planes the records no longer line up.
    EXPECT_FALSE(DecodeScreenData(data, 1, 0, decoded, error));
}

TEST_F(DecodeScreen, ChainRunningIntoTheNextWindowEndsTheWindow)
{
    QByteArray data = Compile();
    DecodedScreen decoded;
    QString error;
    ASSERT_TRUE(DecodeScreenData(data, 3, 0, decoded, error));
    // Point the last zone of window 1 at the end of its window, as older data did.
    const DecodedZone& last = decoded.programs[0].windows[0].zones.back();
    const std::uint32_t end = decoded.programs[0].windows[1].offset;
    layout::PutU32(reinterpret_cast<std::uint8_t*>(data.data()) + last.offset, end);
    ASSERT_TRUE(DecodeScreenData(data, 3, 0, decoded, error)) << error.toStdString();
    EXPECT_TRUE(decoded.programs[0].windows[0].chainRunsOn);
    EXPECT_EQ(decoded.programs[0].windows[0].zones.size(), 2u);
}

TEST_F(DecodeScreen, DamagedDataNeverCrashesAndAlwaysExplains)
{
    const QByteArray data = Compile();
    CSeededRandom random(99);
    DecodedScreen decoded;
    // Damage the structure, not the planes, so that most runs reach deep into the walk.
    for (int run = 0; run < 1500; ++run) {
        QByteArray bad = data;
        const int changes = 1 + random.Next() % 4;
        for (int i = 0; i < changes; ++i) {
            const int at = 124 + random.Next() % 600;
            bad[at] = static_cast<char>(random.Next() & 0xFF);
        }
        QString error;
        const bool ok =
            DecodeScreenData(bad, 1 + random.Next() % 3, random.Next() & 1, decoded, error);
        EXPECT_TRUE(ok || !error.isEmpty());
        DecodedExportFile file;
        error.clear();
        const bool fileOk = DecodeExportFile(QByteArray(512, 0) + bad, 3, 0, file, error);
        EXPECT_TRUE(fileOk || !error.isEmpty());
    }
}

TEST(DecodeOddScreens, ZeroSizedWindowCompilesToDataTheDecoderReads)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU16(ControllerParams::Width, 0);
    screen->Params().SetU16(ControllerParams::Height, 0);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    auto zone = std::make_unique<CTextZone>(window.get());
    zone->Prepare(RenderForm::Controller); // one page the size of the empty window
    ASSERT_EQ(zone->GetPageCount(), 1);
    window->AddChild(std::move(zone));
    program->AddChild(std::move(window));

    CScopedRandomSeed random(4);
    CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
    ASSERT_TRUE(WriteData(*screen, buffer));
    EXPECT_EQ(buffer.Length(), 128u + 4 + 444 + 20 + 4);
    const QByteArray data(reinterpret_cast<const char*>(buffer.Data()),
                          static_cast<qsizetype>(buffer.Length()));
    DecodedScreen decoded;
    QString error;
    ASSERT_TRUE(DecodeScreenData(data, 2, 0, decoded, error)) << error.toStdString();
    const DecodedWindow& w = decoded.programs[0].windows[0];
    EXPECT_EQ(w.width, 0);
    EXPECT_TRUE(w.zones[0].pages[0].image.isNull());
}
