#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "picture_files.h"
#include "render/image_preview.h"
#include "render/picture_reader.h"
#include "render/renderer.h"
#include "render/sign_picture.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace picture_files;

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

// What the process writes to its standard error while f runs.
template <typename F> QByteArray StandardErrorOf(F&& f)
{
    std::fflush(stderr);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stderr"));
    FILE* sink = std::fopen(QFile::encodeName(path).constData(), "w");
    const int saved = dup(STDERR_FILENO);
    dup2(fileno(sink), STDERR_FILENO);
    f();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::fclose(sink);
    return ReadFileBytes(path);
}

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM"); -1 when it cannot be read.
long long StatusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1)
                .trimmed()
                .split(' ')
                .value(0)
                .toLongLong();
    }
    return -1;
}

// Starts the peak of the resident memory afresh from what is resident now.
bool ResetMemoryPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

class PictureReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { InstallRenderer(); }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    // An image zone of a w x h window on a screen of the colour type, showing the file.
    CImageZone& ImageZone(const QString& path, int w, int h, int colourType)
    {
        auto* screen = static_cast<CScreen*>(root->GetChild(0));
        screen->Params().SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(colourType));
        auto* program = static_cast<CProgram*>(screen->GetChild(0));
        auto window = std::make_unique<CPlayWindow>(program);
        window->SetWindowRect(LedRect{0, 0, w, h});
        auto zone = std::make_unique<CImageZone>(window.get());
        CImageZone& added = *zone;
        added.Key().sourcePath = path;
        window->AddChild(std::move(zone));
        program->AddChild(std::move(window));
        return added;
    }

    QTemporaryDir dir;
    std::unique_ptr<CProjectRoot> root = CProjectRoot::NewProject();
};

TEST_F(PictureReaderTest, TiffGivesItsFirstPageAndLibtiffKeepsQuiet)
{
    const QString path = Write(QStringLiteral("two.tif"), Tiff(4, 2, {kRed, kGreen}));
    PictureFrames picture;
    QString reason;
    const QByteArray said = StandardErrorOf([&] {
        ASSERT_TRUE(ReadPictureFrames(path, 8, 4, CImageZone::kMaxFrames, picture, reason))
            << reason.toStdString();
    });
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_FALSE(picture.animated);
    EXPECT_EQ(picture.sourceSize, QSize(4, 2));
    EXPECT_EQ(picture.frames[0].size(), QSize(8, 4));
    EXPECT_EQ(At(picture.frames[0], 7, 3), kRed);

    // The image zone shows one page of it, and the command line says nothing of libtiff's.
    CImageZone& zone = ImageZone(path, 8, 4, 3);
    zone.Prepare(RenderForm::Display);
    EXPECT_EQ(zone.GetPageCount(), 1);
    const QString project = dir.filePath(QStringLiteral("tiff.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    const CliRun run = RunCli({QStringLiteral("render"), project, QStringLiteral("--out"),
                               dir.filePath(QStringLiteral("out"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("TIFF")) << run.err.toStdString();
}

TEST_F(PictureReaderTest, IconGivesOnePageOfItsLargestEntry)
{
    const QString path =
        Write(QStringLiteral("four.ico"), Icon({Filled(16, 16, kRed), Filled(48, 48, kGreen),
                                                Filled(32, 32, kBlue), Filled(24, 24, kWhite)}));
    PictureFrames picture;
    QString reason;
    ASSERT_TRUE(ReadPictureFrames(path, 6, 6, CImageZone::kMaxFrames, picture, reason))
        << reason.toStdString();
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.sourceSize, QSize(48, 48));
    EXPECT_EQ(At(picture.frames[0], 3, 3), kGreen);

    CImageZone& zone = ImageZone(path, 6, 6, 3);
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 1);
    EXPECT_TRUE(zone.FrameDelays().empty());
}

TEST_F(PictureReaderTest, GifFramesGiveTheirAreaBackToTheDarkSignInEveryForm)
{
    // White is the file's background colour; the sign's background is dark.
    const std::vector<QRgb> palette{kBlack, kRed, kGreen, kWhite};
    GifFrame full{0, 0, 8, 8, std::vector<int>(64, 1), 2, 20};   // red, given back
    GifFrame middle{2, 2, 4, 4, std::vector<int>(16, 2), 3, 30}; // green, then undone
    GifFrame corner{0, 0, 2, 2, {3, 0, 0, 3}, 1, 40, 0};         // white dots, 0 clear
    const QString path =
        Write(QStringLiteral("disposal.gif"), Gif(8, 8, palette, 3, {full, middle, corner}));

    PictureFrames picture;
    QString reason;
    ASSERT_TRUE(ReadPictureFrames(path, 8, 8, CImageZone::kMaxFrames, picture, reason))
        << reason.toStdString();
    ASSERT_EQ(picture.frames.size(), 3u);
    EXPECT_TRUE(picture.animated);
    EXPECT_EQ(picture.delays, (std::vector<int>{20, 30, 40}));
    EXPECT_EQ(At(picture.frames[0], 0, 0), kRed);
    EXPECT_EQ(At(picture.frames[1], 0, 0), kBlack); // not the file's white
    EXPECT_EQ(At(picture.frames[1], 3, 3), kGreen);
    // The middle frame is undone: the canvas is as before it, dark; the transparent
    // corner pixels keep what is below.
    EXPECT_EQ(At(picture.frames[2], 0, 0), kWhite);
    EXPECT_EQ(At(picture.frames[2], 1, 0), kBlack);
    EXPECT_EQ(At(picture.frames[2], 3, 3), kBlack);

    // The zone, both render forms and the card show the same frames; the dialog its first.
    CImageZone& zone = ImageZone(path, 8, 8, 3);
    zone.Key().keyColour = 0x808080; // no colour of the file is keyed
    for (RenderForm form : {RenderForm::Display, RenderForm::Controller}) {
        zone.Prepare(form);
        ASSERT_EQ(zone.GetPageCount(), 3);
        for (int page = 0; page < 3; ++page) {
            EXPECT_EQ(ZonePagePicture(zone, page, SignForm::Card),
                      picture.frames[size_t(page)].convertToFormat(QImage::Format_RGB32))
                << page;
        }
        EXPECT_EQ(zone.FrameDelays(), (std::vector<int>{20, 30, 40}));
    }
    ImagePreview preview;
    ASSERT_TRUE(LoadImagePreview(path, zone.Key(), 8, 8, 3, preview));
    EXPECT_EQ(preview.shown, ZonePagePicture(zone, 0, SignForm::Card));
    EXPECT_EQ(preview.frameCount, 3);
    EXPECT_EQ(preview.delays, (std::vector<int>{200, 300, 400}));
}

TEST_F(PictureReaderTest, CameraSizePhotoIsDecodedAtTheSizeItIsShown)
{
    // 48 megapixels in colour, made here: decoded whole it would take 192 MB.
    {
        QImage photo(8000, 6000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                row[x] = qRgb(x * 255 / 8000, y * 255 / 6000, 90);
        }
        QImageWriter writer(dir.filePath(QStringLiteral("camera.jpg")), "jpeg");
        writer.setQuality(40);
        ASSERT_TRUE(writer.write(photo));
    }
    const QString path = dir.filePath(QStringLiteral("camera.jpg"));

    PictureFrames picture;
    QString reason;
    const bool peakKnown = ResetMemoryPeak();
    const long long before = StatusKilobytes("VmRSS:");
    const double start = ThreadSeconds();
    ASSERT_TRUE(ReadPictureFrames(path, 128, 64, CImageZone::kMaxFrames, picture, reason))
        << reason.toStdString();
    EXPECT_LT(ThreadSeconds() - start, 1.0);
    if (peakKnown && before >= 0) {
        // The decode's own memory: a small part of the whole picture's.
        EXPECT_LT(StatusKilobytes("VmHWM:") - before, 100 * 1024);
    }
    EXPECT_EQ(picture.sourceSize, QSize(8000, 6000));
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].size(), QSize(128, 64));
    EXPECT_LT(qGreen(picture.frames[0].pixel(64, 2)), qGreen(picture.frames[0].pixel(64, 60)));

    // The command line renders it without the allocation limit's refusal.
    CImageZone& zone = ImageZone(path, 64, 32, 1);
    zone.SetAction(1);
    const QString project = dir.filePath(QStringLiteral("camera.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    const CliRun run = RunCli({QStringLiteral("render"), project, QStringLiteral("--out"),
                               dir.filePath(QStringLiteral("out"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("allocation")) << run.err.toStdString();
}

TEST_F(PictureReaderTest, WhatCannotBeReadIsRefusedInTheSystemsWords)
{
    PictureFrames picture;
    QString reason;
    EXPECT_FALSE(
        ReadPictureFrames(dir.filePath(QStringLiteral("none.png")), 8, 8, 1, picture, reason));
    EXPECT_TRUE(reason.startsWith(QStringLiteral("There is no picture file")))
        << reason.toStdString();
    EXPECT_FALSE(ReadPictureFrames(dir.path(), 8, 8, 1, picture, reason)); // a folder
    EXPECT_FALSE(ReadPictureFrames(Write(QStringLiteral("text.png"), "not a picture"), 8, 8, 1,
                                   picture, reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("is not a picture that can be read")))
        << reason.toStdString();
    // A GIF whose first frame breaks off.
    QByteArray gif = Gif(8, 8, {kBlack, kRed}, 0, {GifFrame{0, 0, 8, 8, std::vector<int>(64, 1)}});
    EXPECT_FALSE(ReadPictureFrames(Write(QStringLiteral("cut.gif"), gif.left(40)), 8, 8, 1, picture,
                                   reason));
    // A picture of 30000 x 30000 pixels is refused before anything is decoded.
    EXPECT_FALSE(
        ReadPictureFrames(Write(QStringLiteral("huge.gif"),
                                Gif(30000, 30000, {kBlack, kRed}, 0, {GifFrame{0, 0, 1, 1, {1}}})),
                          8, 8, 1, picture, reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("30000 x 30000"))) << reason.toStdString();
    QSize size;
    EXPECT_FALSE(ProbePicture(dir.filePath(QStringLiteral("none.png")), size, reason));
    EXPECT_TRUE(
        ProbePicture(Write(QStringLiteral("ok.png"), Png(Filled(3, 2, kRed))), size, reason));
    EXPECT_EQ(size, QSize(3, 2));
}

} // namespace
