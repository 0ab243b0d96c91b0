// lumivant-cli set-text, set-image and schedule end to end, and what they refuse.
#include "support/test_support.h"

#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Panel1 / Prices { Board { Price, Logo(image) } , Note (directly in the program) },
//          Night (timing 22:00 to 06:00, Sundays)
class ZoneCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("shop.ledprj"));
        auto root = CProjectRoot::NewProject();
        auto* screen = static_cast<CScreen*>(root->GetChild(0));
        screen->Params().SetU16(ControllerParams::Width, 64);
        screen->Params().SetU16(ControllerParams::Height, 16);
        auto* program = static_cast<CProgram*>(screen->GetChild(0));
        program->SetName(QStringLiteral("Prices"));
        auto window = program->CreateChild(KindWindow);
        window->SetName(QStringLiteral("Board"));
        static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, 0, 64, 16});
        Add(*window, KindText, QStringLiteral("Price"));
        Add(*window, KindImage, QStringLiteral("Logo"));
        program->AddChild(std::move(window));
        auto implicit = program->CreateChild(KindWindow);
        implicit->SetFore(0);
        // Shown page by page rather than scrolled.
        Add(*implicit, KindText, QStringLiteral("Note"))->SetAction(1);
        program->AddChild(std::move(implicit));

        auto night = screen->CreateChild(KindProgram);
        night->SetName(QStringLiteral("Night"));
        auto& schedule = static_cast<CProgram*>(night.get())->Schedule();
        schedule.playMode = 1;
        schedule.weekdays = 1; // Sundays
        schedule.startTime = 22 * 3600;
        schedule.endTime = 6 * 3600 - 1;
        auto nightWindow = night->CreateChild(KindWindow);
        nightWindow->SetFore(0);
        Add(*nightWindow, KindText, QStringLiteral("Closed"));
        night->AddChild(std::move(nightWindow));
        screen->AddChild(std::move(night));
        ASSERT_TRUE(root->SaveProject(project));
        original = ReadFileBytes(project);
    }

    static CEffectZone* Add(CProjectObject& window, int kind, const QString& name)
    {
        auto zone = window.CreateChild(kind);
        zone->SetName(name);
        auto* raw = static_cast<CEffectZone*>(zone.get());
        window.AddChild(std::move(zone));
        return raw;
    }

    CliRun Run(QStringList words) { return RunCli(words, 30000); }

    // The zone's stored rich text, read back from a project file.
    static QString StoredRtf(const QString& path, int program, int window, int zone)
    {
        CProjectRoot root;
        EXPECT_TRUE(root.LoadProject(path));
        const CProjectObject* object =
            root.GetChild(0)->GetChild(program)->GetChild(window)->GetChild(zone);
        return object ? static_cast<const CTextZone*>(object)->GetRtf() : QString();
    }

    QTemporaryDir dir;
    QString project;
    QByteArray original;
};

TEST_F(ZoneCliTest, SetTextByNameAndNumberWithChineseText)
{
    const CliRun named =
        Run({QStringLiteral("set-text"), project, QStringLiteral("Panel1/Prices/Board/Price"),
             QStringLiteral("--text"), QStringLiteral("今日 ¥12\\n明日 ¥15")});
    ASSERT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_TRUE(named.out.startsWith("Panel1/Prices/Board/Price: ")) << named.out.toStdString();
    const QString rtf = StoredRtf(project, 0, 0, 0);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u20170?"))) << rtf.toStdString(); // 今
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\par"))) << rtf.toStdString();

    const QString copy = dir.filePath(QStringLiteral("copy.ledprj"));
    const CliRun numbered =
        Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w2/z1"),
             QStringLiteral("--text"), QStringLiteral("Open"), QStringLiteral("--out"), copy});
    ASSERT_EQ(numbered.exitCode, 0) << numbered.err.toStdString();
    EXPECT_TRUE(numbered.out.startsWith("Panel1/Prices/Note: 1 page"))
        << numbered.out.toStdString();
    EXPECT_TRUE(StoredRtf(copy, 0, 1, 0).contains(QStringLiteral("Open")));
    EXPECT_FALSE(StoredRtf(project, 0, 1, 0).contains(QStringLiteral("Open")));

    const QString textFile = dir.filePath(QStringLiteral("menu.txt"));
    ASSERT_TRUE(WriteFileBytes(textFile, "Soup\nNoodles\n"));
    const CliRun fromFile =
        Run({QStringLiteral("set-text"), project, QStringLiteral("Panel1/Prices/Note"),
             QStringLiteral("--text-file"), textFile, QStringLiteral("--keep-format")});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    // Two lines do not fit a 16-pixel window on one page.
    EXPECT_TRUE(fromFile.err.contains("warning: The text no longer fits one page"))
        << fromFile.err.toStdString();
}

TEST_F(ZoneCliTest, BadZonesAndTextsLeaveTheFileAlone)
{
    const CliRun missing =
        Run({QStringLiteral("set-text"), project, QStringLiteral("Panel1/Prices/Board/Cost"),
             QStringLiteral("--text"), QStringLiteral("x")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("there are: 'Price', 'Logo'.")) << missing.err.toStdString();

    const CliRun tooLong = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                                QStringLiteral("--text"), QString(100000, u'x')});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_TRUE(tooLong.err.contains("too long")) << tooLong.err.toStdString();

    const CliRun image = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z2"),
                              QStringLiteral("--text"), QStringLiteral("x")});
    EXPECT_EQ(image.exitCode, 1);
    const CliRun notRtf = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                               QStringLiteral("--rtf"), project});
    EXPECT_EQ(notRtf.exitCode, 1);
    EXPECT_TRUE(notRtf.err.contains("not an RTF document")) << notRtf.err.toStdString();

    for (const QStringList& words :
         {QStringList{QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1")},
          QStringList{QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                      QStringLiteral("--text"), QStringLiteral("a"), QStringLiteral("--rtf"),
                      project},
          QStringList{QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2")}})
        EXPECT_EQ(Run(words).exitCode, 2) << words.join(u' ').toStdString();
    EXPECT_EQ(ReadFileBytes(project), original);
}

TEST_F(ZoneCliTest, SetImageChecksThePicture)
{
    const CliRun missing = Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"),
                                dir.filePath(QStringLiteral("none.png"))});
    EXPECT_EQ(missing.exitCode, 1);
    const QString notPicture = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(WriteFileBytes(notPicture, "GIF? no, just words"));
    EXPECT_EQ(Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"), notPicture})
                  .exitCode,
              1);
    EXPECT_EQ(ReadFileBytes(project), original);

    const QString picture = dir.filePath(QStringLiteral("real.png"));
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(picture));
    const CliRun set = Run({QStringLiteral("set-image"), project,
                            QStringLiteral("Panel1/Prices/Board/Logo"), picture});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.contains("Logo: 1 page")) << set.out.toStdString();
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(project));
    const auto* logo =
        static_cast<const CImageZone*>(root.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(1));
    EXPECT_EQ(logo->Key().sourcePath, picture);
}

TEST_F(ZoneCliTest, TextFilesOfNotepadAndChineseWindowsAreRead)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        // Notepad's "Unicode" (UTF-16 with its mark) with Windows line ends: 欢迎 / A
        {"unicode.txt", QByteArray("\xFF\xFE\x22\x6B\xCE\x8F\x0D\x00\x0A\x00\x41\x00", 12)},
        {"gbk.txt", QByteArray("\xBB\xB6\xD3\xAD\r\nA\r\n")},
        {"big5.txt", QByteArray("\xC5\x77\xAA\xEF\r\nA")},
        {"bom.txt", QByteArray("\xEF\xBB\xBF\xE6\xAC\xA2\xE8\xBF\x8E\nA\n")},
    };
    for (const auto& file : files) {
        const QString path = dir.filePath(QString::fromLatin1(file.name));
        ASSERT_TRUE(WriteFileBytes(path, file.bytes));
        const CliRun run = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                                QStringLiteral("--text-file"), path});
        ASSERT_EQ(run.exitCode, 0) << file.name << run.err.toStdString();
        CProjectRoot root;
        ASSERT_TRUE(root.LoadProject(project));
        QTextDocument document;
        ReadRtf(
            static_cast<const CTextZone*>(root.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0))
                ->GetRtf(),
            document);
        EXPECT_EQ(document.toPlainText().split(u'\n').value(1), QStringLiteral("A")) << file.name;
        EXPECT_TRUE(document.toPlainText().startsWith(QStringLiteral("欢迎")) ||
                    document.toPlainText().startsWith(QStringLiteral("歡迎")))
            << file.name << document.toPlainText().toStdString();
    }
    const QString binary = dir.filePath(QStringLiteral("archive.zip"));
    ASSERT_TRUE(WriteFileBytes(binary, QByteArray("PK\x03\x04\x00\x00", 6)));
    const QByteArray before = ReadFileBytes(project);
    const CliRun refused = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                                QStringLiteral("--text-file"), binary});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("is not text in UTF-8, UTF-16, GB18030 or Big5"))
        << refused.err.toStdString();
    EXPECT_EQ(ReadFileBytes(project), before);
}

TEST_F(ZoneCliTest, SetImageDithersAPhotoIntoAPictureBesideTheProject)
{
    QImage photo(200, 50, QImage::Format_RGB32);
    for (int x = 0; x < photo.width(); ++x) {
        for (int y = 0; y < photo.height(); ++y)
            photo.setPixel(x, y, qRgb(x, x, 40 + y * 3));
    }
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("camera"))));
    const QString picture = dir.filePath(QStringLiteral("camera/IMG_0001.png"));
    ASSERT_TRUE(photo.save(picture));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("shop"))));
    const QString copy = dir.filePath(QStringLiteral("shop/dithered.ledprj"));
    const CliRun set = Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"),
                            picture, QStringLiteral("--dither"), QStringLiteral("--out"), copy});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QString written = dir.filePath(QStringLiteral("shop/IMG_0001-dithered.png"));
    const QImage dithered(written);
    ASSERT_EQ(dithered.size(), QSize(64, 16)); // the zone's window
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(copy));
    const auto* logo =
        static_cast<const CImageZone*>(root.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(1));
    EXPECT_EQ(logo->Key().sourcePath, written);
    EXPECT_EQ(ReadFileBytes(project), original);
    // Without dithering the photo would collapse into blocks, and set-image says so.
    const CliRun plain = Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"),
                              picture, QStringLiteral("--out"), copy});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_TRUE(plain.err.contains("warning: The photo's tones collapse"))
        << plain.err.toStdString();
    ASSERT_EQ(Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"), picture,
                   QStringLiteral("--dither"), QStringLiteral("--out"), copy})
                  .exitCode,
              0);

    // The card shows a mix of lit and dark LEDs, not one block.
    const QString out = dir.filePath(QStringLiteral("render"));
    ASSERT_EQ(Run({QStringLiteral("render"), copy, QStringLiteral("--out"), out}).exitCode, 0);
    const QImage page(QDir(out).filePath(QStringLiteral("s1-p1-w1-z2-page1.png")));
    int lit = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            lit += (page.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
    }
    EXPECT_GT(lit, 64 * 16 / 5);
    EXPECT_LT(lit, 64 * 16 * 4 / 5);

    // Not an image zone, or an animation: refused, nothing saved.
    EXPECT_EQ(Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z1"), picture,
                   QStringLiteral("--dither")})
                  .exitCode,
              1);
    EXPECT_EQ(ReadFileBytes(project), original);
}

TEST_F(ZoneCliTest, ScheduleAtADayAndAWeekWithItsChart)
{
    // 2026-12-13 is a Sunday.
    const CliRun at = Run({QStringLiteral("schedule"), project, QStringLiteral("--at"),
                           QStringLiteral("2026-12-13 23:30")});
    ASSERT_EQ(at.exitCode, 0) << at.err.toStdString();
    EXPECT_EQ(at.out, QByteArray("Night 60 s\n"));

    const CliRun day = Run({QStringLiteral("schedule"), project, QStringLiteral("--day"),
                            QStringLiteral("2026-12-13")});
    ASSERT_EQ(day.exitCode, 0) << day.err.toStdString();
    EXPECT_EQ(day.out, QByteArray("00:00-06:00 Night\n06:00-22:00 Prices\n22:00-24:00 Night\n"));
    const CliRun monday = Run({QStringLiteral("schedule"), project, QStringLiteral("--day"),
                               QStringLiteral("2026-12-14")});
    EXPECT_EQ(monday.out, QByteArray("00:00-24:00 Prices\n"));
    EXPECT_TRUE(monday.err.contains("warning: 'Night' does not play on this day."))
        << monday.err.toStdString();

    const QString png = dir.filePath(QStringLiteral("week.png"));
    const CliRun week = Run({QStringLiteral("schedule"), project, QStringLiteral("--week"),
                             QStringLiteral("2026-12-07"), QStringLiteral("--png"), png});
    ASSERT_EQ(week.exitCode, 0) << week.err.toStdString();
    EXPECT_TRUE(week.out.startsWith("Mon 2026-12-07\n  00:00-24:00 Prices\n"))
        << week.out.toStdString();
    EXPECT_TRUE(week.out.contains("Sun 2026-12-13\n  00:00-06:00 Night\n"));
    const QImage chart(png);
    ASSERT_FALSE(chart.isNull());
    EXPECT_GT(chart.width(), 24 * 20);
    EXPECT_EQ(week.err, QByteArray());

    for (const QStringList& words :
         {QStringList{QStringLiteral("schedule"), project, QStringLiteral("--day"),
                      QStringLiteral("2026-02-30")},
          QStringList{QStringLiteral("schedule"), project, QStringLiteral("--at"),
                      QStringLiteral("2026-12-13 25:00")},
          QStringList{QStringLiteral("schedule"), project},
          QStringList{QStringLiteral("schedule"), project, QStringLiteral("--day"),
                      QStringLiteral("2026-12-13"), QStringLiteral("--png"), png},
          QStringList{QStringLiteral("schedule"), project, QStringLiteral("--week"),
                      QStringLiteral("2026-12-07"), QStringLiteral("--screen"),
                      QStringLiteral("2")}}) {
        const CliRun bad = Run(words);
        EXPECT_EQ(bad.exitCode, 2) << words.join(u' ').toStdString();
        EXPECT_FALSE(bad.err.isEmpty());
    }
    EXPECT_EQ(ReadFileBytes(project), original);
}

} // namespace
