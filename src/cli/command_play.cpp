// lumivant-cli play: a program played with the preview's player, as the card shows it, as
// PNG frames or as an animated GIF a customer can be sent.
#include "cli/cli_command.h"
#include "cli/cli_operation_ui.h"
#include "cli/cli_project.h"
#include "cli/gif_writer.h"

#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/led_look.h"
#include "render/play_clock.h"
#include "render/program_player.h"
#include "render/random_source.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QSaveFile>

#include <optional>

#include <unistd.h>

namespace {

constexpr int kGifMaxSide = 0xFFFF;
// GIF viewers slow down frames shorter than this (hundredths of a second).
constexpr int kShortestGifFrame = 2;

// Palette of the GIF: the eight LED colours by colour index, then the background behind
// the dots.
constexpr int kDotBackground = 8;
const std::vector<CGifWriter::Colour> kPalette = {
    {0, 0, 0},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
    {qRed(CLedLook::kGround), qGreen(CLedLook::kGround), qBlue(CLedLook::kGround)},
};

struct PlayOptions
{
    int screen = 1;
    int program = 1;
    int ticks = 0; // 0: until every window has shown its zones once
    int zoom = 4;
    bool dots = false;
    QString gifPath;
    QString framesDir;
    std::optional<std::uint32_t> seed;
};

// The GIF picture of one screen frame: each LED a zoom x zoom block, or a round dot on a
// dark grey ground (the look the preview shows).
class CGifFrameMaker
{
public:
    CGifFrameMaker(int width, int height, int zoom, bool dots)
        : m_width(width), m_height(height), m_look(zoom, dots)
    {}
    int Width() const { return m_width * m_look.Zoom(); }
    int Height() const { return m_height * m_look.Zoom(); }

    std::vector<std::uint8_t> Make(const QImage& screen) const
    {
        const int zoom = m_look.Zoom();
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Width()) * Height());
        for (int y = 0; y < m_height; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
            for (int x = 0; x < m_width; ++x) {
                const QRgb rgb = row[x];
                const auto index = static_cast<std::uint8_t>((qRed(rgb) > 127 ? 1 : 0) |
                                                             (qGreen(rgb) > 127 ? 2 : 0) |
                                                             (qBlue(rgb) > 127 ? 4 : 0));
                for (int j = 0; j < zoom; ++j) {
                    std::uint8_t* out = pixels.data() +
                                        static_cast<std::size_t>(y * zoom + j) * Width() +
                                        static_cast<std::size_t>(x) * zoom;
                    for (int i = 0; i < zoom; ++i)
                        out[i] = m_look.InDot(i, j) ? index : kDotBackground;
                }
            }
        }
        return pixels;
    }

private:
    int m_width;
    int m_height;
    CLedLook m_look;
};

// Collects the frames of a GIF: identical consecutive frames merged, delays in hundredths
// with the rounding carried so that the total matches the ticks, and a frame that would
// last less than the shortest a viewer keeps given up to the one after it.
class CGifTimeline
{
public:
    CGifTimeline(CGifWriter& writer, const CGifFrameMaker& maker) : m_writer(writer), m_maker(maker)
    {}

    bool Add(const QImage& screen, qint64 atMs)
    {
        if (m_hasPending && screen == m_pendingScreen)
            return true;
        if (m_hasPending) {
            const int delay = static_cast<int>(Hundredths(atMs) - m_emitted);
            if (delay >= kShortestGifFrame) {
                if (!m_writer.AddFrame(m_maker.Make(m_pendingScreen), delay))
                    return false;
                m_emitted += delay;
            }
        }
        m_pendingScreen = screen;
        m_hasPending = true;
        return true;
    }

    bool Finish(qint64 totalMs)
    {
        if (!m_hasPending)
            return true;
        const int delay =
            static_cast<int>(std::max<qint64>(kShortestGifFrame, Hundredths(totalMs) - m_emitted));
        return m_writer.AddFrame(m_maker.Make(m_pendingScreen), delay);
    }

private:
    static qint64 Hundredths(qint64 ms) { return (ms + 5) / 10; }

    CGifWriter& m_writer;
    const CGifFrameMaker& m_maker;
    QImage m_pendingScreen;
    bool m_hasPending = false;
    qint64 m_emitted = 0;
};

bool WritePng(const QImage& image, const QString& path, QString& error)
{
    QSaveFile file(path);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") ||
        file.write(buffer.data()) != buffer.data().size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

int ParseOptions(const QStringList& words, PlayOptions& options, QString& file)
{
    int status = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words,
        {QStringLiteral("screen"), QStringLiteral("program"), QStringLiteral("ticks"),
         QStringLiteral("seed"), QStringLiteral("gif"), QStringLiteral("zoom"),
         QStringLiteral("frames")},
        {QStringLiteral("dots")}, 1, QStringLiteral("play needs one project file"), status);
    if (!arguments)
        return status;
    QString error;
    if (!arguments->IntValue(QStringLiteral("screen"), 1, 0x7FFFFFFF, options.screen, error) ||
        !arguments->IntValue(QStringLiteral("program"), 1, 0x7FFFFFFF, options.program, error) ||
        !arguments->IntValue(QStringLiteral("ticks"), 1, CProgramPlayer::kMaxTicks, options.ticks,
                             error) ||
        !arguments->IntValue(QStringLiteral("zoom"), 1, 16, options.zoom, error))
        return CliUsageError(error);
    const bool gif = arguments->Has(QStringLiteral("gif"));
    const bool frames = arguments->Has(QStringLiteral("frames"));
    if (gif == frames)
        return CliUsageError(QStringLiteral("play needs either --gif OUT.gif or --frames DIR"));
    if (!gif && (arguments->Has(QStringLiteral("zoom")) || arguments->Has(QStringLiteral("dots"))))
        return CliUsageError(QStringLiteral("--zoom and --dots go with --gif"));
    options.dots = arguments->Has(QStringLiteral("dots"));
    options.gifPath = arguments->Value(QStringLiteral("gif"));
    options.framesDir = arguments->Value(QStringLiteral("frames"));
    if ((gif && options.gifPath.isEmpty()) || (frames && options.framesDir.isEmpty()))
        return CliUsageError(QStringLiteral("--gif and --frames need a path"));
    if (arguments->Has(QStringLiteral("seed"))) {
        bool ok = false;
        const qulonglong seed = arguments->Value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok || seed > 0xFFFFFFFFull)
            return CliUsageError(
                QStringLiteral("--seed takes a whole number from 0 to 4294967295"));
        options.seed = static_cast<std::uint32_t>(seed);
    }
    file = arguments->Positional().first();
    return -1;
}

CProgram* FindProgram(CScreen& screen, int number)
{
    int seen = 0;
    for (int i = 0; i < screen.GetChildCount(); ++i) {
        CProjectObject* child = screen.GetChild(i);
        if (child->GetKind() == KindProgram && ++seen == number)
            return static_cast<CProgram*>(child);
    }
    return nullptr;
}

} // namespace

int RunPlay(const QStringList& words)
{
    PlayOptions options;
    QString path;
    const int parsed = ParseOptions(words, options, path);
    if (parsed >= 0)
        return parsed;

    auto root = LoadProjectForCli(path);
    if (!root)
        return CliFailed;
    CProjectObject* screenObject = root->GetChild(options.screen - 1);
    if (!screenObject || screenObject->GetKind() != KindScreen)
        return CliFail(
            QStringLiteral("There is no screen %1 in %2.").arg(options.screen).arg(path));
    auto* screen = static_cast<CScreen*>(screenObject);
    CProgram* program = FindProgram(*screen, options.program);
    if (!program)
        return CliFail(QStringLiteral("There is no program %1 on screen %2.")
                           .arg(options.program)
                           .arg(options.screen));

    std::optional<CScopedRandomSeed> seed;
    if (options.seed)
        seed.emplace(*options.seed);
    screen->Prepare(RenderForm::Display);
    CSteppedPlayClock clock(QDateTime::currentDateTime());
    CProgramPlayer player(nullptr, &clock);
    player.Start(program);
    if (!player.HasSomethingToPlay())
        return CliFail(QStringLiteral("Program %1 of screen %2 has nothing to play.")
                           .arg(options.program)
                           .arg(options.screen));

    const QImage first = player.ComposeScreen();
    if (first.isNull())
        return CliFail(QStringLiteral("The screen has no size."));
    CGifWriter gif;
    std::optional<CGifFrameMaker> maker;
    std::optional<CGifTimeline> timeline;
    if (!options.gifPath.isEmpty()) {
        if (static_cast<qint64>(first.width()) * options.zoom > kGifMaxSide ||
            static_cast<qint64>(first.height()) * options.zoom > kGifMaxSide)
            return CliFail(QStringLiteral("A %1 x %2 screen at zoom %3 is too large for a GIF.")
                               .arg(first.width())
                               .arg(first.height())
                               .arg(options.zoom));
        maker.emplace(first.width(), first.height(), options.zoom, options.dots);
        if (!gif.Open(options.gifPath, maker->Width(), maker->Height(), kPalette))
            return CliFail(gif.Error());
        timeline.emplace(gif, *maker);
    } else {
        const QDir dir(options.framesDir);
        if (!dir.exists() && !QDir().mkpath(dir.path()))
            return CliFail(QStringLiteral("Cannot create the folder %1.").arg(dir.path()));
    }

    const int limit = options.ticks > 0 ? options.ticks : CProgramPlayer::kMaxTicks;
    std::optional<CCliOperationUi> progress;
    if (isatty(STDERR_FILENO) && limit >= 1000) {
        progress.emplace(CCliOperationUi::Answers::AlwaysNo);
        progress->SetRange(limit);
    }
    int tick = 0;
    QString error;
    while (tick < limit && (options.ticks > 0 || !player.AllZonesShown())) {
        player.Tick();
        ++tick;
        const QImage screenImage = player.ComposeScreen();
        bool written = true;
        if (timeline) {
            written =
                timeline->Add(screenImage, static_cast<qint64>(tick - 1) * CWindowPlayer::kTickMs);
            error = gif.Error();
        } else {
            written = WritePng(
                screenImage,
                QDir(options.framesDir)
                    .filePath(QStringLiteral("tick-%1.png").arg(tick, 6, 10, QLatin1Char('0'))),
                error);
        }
        if (!written)
            return CliFail(error);
        if (progress && tick % 50 == 0 &&
            progress->Update(tick, QStringLiteral("tick %1").arg(tick))) {
            gif.Abandon();
            return CliFail(QStringLiteral("Cancelled."));
        }
    }
    if (progress)
        progress->Finish();
    if (timeline &&
        (!timeline->Finish(static_cast<qint64>(tick) * CWindowPlayer::kTickMs) || !gif.Finish()))
        return CliFail(gif.Error());
    CliPrint(QStringLiteral("%1 ticks (%2 s) played into %3")
                 .arg(tick)
                 .arg(tick * CWindowPlayer::kTickMs / 1000.0, 0, 'f', 3)
                 .arg(QDir::toNativeSeparators(timeline ? options.gifPath : options.framesDir)));
    return CliOk;
}
