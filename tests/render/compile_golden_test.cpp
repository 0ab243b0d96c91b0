// Complete screens compared with screen data written by hand (tests/data/screens).
#include "compile_fixture.h"

#include "model/clock_zone.h"
#include "model/text_zone.h"
#include "render/decode_screen.h"
#include "support/test_support.h"

#include <QRegularExpression>

namespace {

// A golden file: the bytes, and which of them are random.
struct Golden
{
    QByteArray bytes;
    std::vector<bool> wildcard;
    QString problem;
};

Golden ReadGolden(const QString& name)
{
    Golden golden;
    const QByteArray text = ReadFileBytes(TestDataPath(QStringLiteral("screens/") + name));
    if (text.isEmpty()) {
        golden.problem = QStringLiteral("missing ") + name;
        return golden;
    }
    static const QRegularExpression token(
        QStringLiteral("^(\\?\\?|[0-9a-fA-F]{2})(?:\\*(\\d+))?$"));
    int lineNumber = 0;
    for (const QByteArray& rawLine : text.split('\n')) {
        ++lineNumber;
        QString line = QString::fromUtf8(rawLine);
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        for (const QString& word : line.split(u' ', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = token.match(word.trimmed());
            if (!m.hasMatch()) {
                golden.problem = QStringLiteral("%1 line %2: bad token '%3'")
                                     .arg(name)
                                     .arg(lineNumber)
                                     .arg(word);
                return golden;
            }
            const int count = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
            const bool any = m.captured(1) == QStringLiteral("??");
            const char value = any ? 0 : static_cast<char>(m.captured(1).toInt(nullptr, 16));
            for (int i = 0; i < count; ++i) {
                golden.bytes.append(value);
                golden.wildcard.push_back(any);
            }
        }
    }
    return golden;
}

} // namespace

class GoldenScreens : public CompileFixture
{
protected:
    void ExpectMatches(const QString& name, int colours, int polarity)
    {
        const Golden golden = ReadGolden(name);
        ASSERT_TRUE(golden.problem.isEmpty()) << golden.problem.toStdString();
        const QByteArray data = Compile(11);
        ASSERT_TRUE(lastResult);
        ASSERT_EQ(data.size(), golden.bytes.size());
        for (qsizetype i = 0; i < data.size(); ++i) {
            if (!golden.wildcard[static_cast<size_t>(i)]) {
                ASSERT_EQ(U8(data, i), static_cast<std::uint8_t>(golden.bytes[i]))
                    << name.toStdString() << " byte " << i;
            }
        }
        // The random header still has to pass the controller's checks.
        DecodedScreen decoded;
        QString error;
        EXPECT_TRUE(DecodeScreenData(data, colours, polarity, decoded, error))
            << error.toStdString();
    }
};

TEST_F(GoldenScreens, SingleTextPageFullColour)
{
    CTextZone* zone = AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    zone->SetAction(ActionDirect);
    zone->SetHold(250);
    zone->SetSpeed(7);
    QImage page = Filled(64, 32, qRgb(0, 0, 0));
    page.setPixel(0, 0, qRgb(255, 0, 0));
    page.setPixel(9, 1, qRgb(0, 255, 0));
    page.setPixel(63, 31, qRgb(0, 0, 255));
    SetPage(zone, 0, page);
    ExpectMatches(QStringLiteral("single_text_rgb.hex"), 3, 1);
}

TEST_F(GoldenScreens, ScheduleBorderAndInvertedSingleColour)
{
    SetScreen(64, 16, 1, 0);
    AddZone<CTextZone>(AddWindow({0, 0, 64, 16}), 0);

    CProgram* second = AddProgram();
    ProgramSchedule& s = second->Schedule();
    s.playTime = 1;
    s.playMode = 1;
    s.weekdays = 0x05;
    s.firstDay = 15000;
    s.lastDay = 15010;
    s.startTime = 3600;
    s.endTime = 7200;
    ProgramBorder& b = second->Border();
    b.enabled = 1;
    b.action = 1;
    b.step = 1;
    b.speed = 1;
    second->SetBorderWidth(1);
    QImage pattern = Filled(16, 1, qRgb(0, 0, 0));
    pattern.setPixel(0, 0, qRgb(255, 0, 0));
    second->BorderPattern() = pattern;
    second->BorderStrip() = Filled(1, 16, qRgb(0, 0, 0));

    CPlayWindow* window = AddWindow({40, 0, 73, 2}, second);
    window->Frame() = WindowFrame{1, 0, 3, 1, 2};
    CClockZone* clock = AddZone<CClockZone>(window);
    clock->SetHold(100);
    ClockSettings& c = clock->Settings();
    c.size[ClockHourMarks] = 4;
    c.size[ClockMinuteMarks] = 0;
    c.hourMarkStyle = 0;
    c.offsetMinutes = 0;
    CTextZone* text = AddZone<CTextZone>(window, 2);
    text->SetAction(ActionMoveRight);
    text->SetHold(0);
    text->SetSpeed(2);
    QImage first = Filled(33, 2, qRgb(0, 0, 0));
    first.setPixel(0, 0, qRgb(255, 0, 0));
    QImage last = Filled(33, 2, qRgb(0, 0, 0));
    last.setPixel(32, 1, qRgb(200, 0, 0));
    SetPage(text, 0, first);
    SetPage(text, 1, last);
    ExpectMatches(QStringLiteral("schedule_border_r_inverted.hex"), 1, 0);
}
