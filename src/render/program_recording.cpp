#include "render/program_recording.h"

#include "model/program.h"
#include "model/screen.h"
#include "render/play_clock.h"
#include "render/program_player.h"

#include <QDateTime>

namespace {

// GIF viewers slow down frames shorter than this (hundredths of a second).
constexpr int kShortestGifFrame = 2;
constexpr int kDotGround = 8;

} // namespace

const std::vector<CGifWriter::Colour>& CLedGifLook::Palette()
{
    static const std::vector<CGifWriter::Colour> palette = {
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
    return palette;
}

CLedGifLook::CLedGifLook(int width, int height, int zoom, bool dots)
    : m_width(width), m_height(height), m_look(zoom, dots)
{
}

std::vector<std::uint8_t> CLedGifLook::Indexes(const QImage& screen) const
{
    const int zoom = m_look.Zoom();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Width()) * Height());
    const QImage rgb =
        screen.format() == QImage::Format_RGB32 || screen.format() == QImage::Format_ARGB32
            ? screen
            : screen.convertToFormat(QImage::Format_RGB32);
    const int rows = std::min(m_height, rgb.height());
    const int columns = std::min(m_width, rgb.width());
    for (int y = 0; y < rows; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < columns; ++x) {
            const QRgb colour = row[x];
            const auto index = static_cast<std::uint8_t>((qRed(colour) > 127 ? 1 : 0) |
                                                         (qGreen(colour) > 127 ? 2 : 0) |
                                                         (qBlue(colour) > 127 ? 4 : 0));
            for (int j = 0; j < zoom; ++j) {
                std::uint8_t* out = pixels.data() +
                                    static_cast<std::size_t>(y * zoom + j) * Width() +
                                    static_cast<std::size_t>(x) * zoom;
                for (int i = 0; i < zoom; ++i)
                    out[i] = m_look.InDot(i, j) ? index : kDotGround;
            }
        }
    }
    return pixels;
}

// Collects the frames of a GIF: identical consecutive frames merged, delays in hundredths
// with the rounding carried, and a frame that would last less than the shortest a viewer
// keeps given up to the one after it.
class CGifTimeline
{
public:
    CGifTimeline(CGifWriter& writer, const CLedGifLook& look) : m_writer(writer), m_look(look) {}

    bool Add(const QImage& screen, qint64 atMs);
    bool Finish(qint64 totalMs);

private:
    static qint64 Hundredths(qint64 ms) { return (ms + 5) / 10; }

    CGifWriter& m_writer;
    const CLedGifLook& m_look;
    QImage m_pendingScreen;
    bool m_hasPending = false;
    qint64 m_emitted = 0;
};

bool CGifTimeline::Add(const QImage& screen, qint64 atMs)
{
    if (m_hasPending && screen == m_pendingScreen)
        return true;
    if (m_hasPending) {
        const int delay = static_cast<int>(Hundredths(atMs) - m_emitted);
        if (delay >= kShortestGifFrame) {
            if (!m_writer.AddFrame(m_look.Indexes(m_pendingScreen), delay))
                return false;
            m_emitted += delay;
        }
    }
    m_pendingScreen = screen;
    m_hasPending = true;
    return true;
}

bool CGifTimeline::Finish(qint64 totalMs)
{
    if (!m_hasPending)
        return true;
    const int delay =
        static_cast<int>(std::max<qint64>(kShortestGifFrame, Hundredths(totalMs) - m_emitted));
    return m_writer.AddFrame(m_look.Indexes(m_pendingScreen), delay);
}

CProgramRecording::Result CProgramRecording::Play(CScreen& screen, CProgram& program, int ticks,
                                                  int limit, const Begin& begin, const Frame& frame,
                                                  int& played)
{
    played = 0;
    screen.Prepare(RenderForm::Display);
    CSteppedPlayClock clock(QDateTime::currentDateTime());
    CProgramPlayer player(nullptr, &clock);
    player.Start(&program);
    if (!player.HasSomethingToPlay())
        return Result::NothingToPlay;
    const QImage first = player.ComposeScreen();
    if (first.isNull())
        return Result::NoSize;
    if (begin && !begin(first))
        return Result::Stopped;
    if (ticks > 0)
        limit = std::min(limit, ticks);
    while (played < limit && (ticks > 0 || !player.AllZonesShown())) {
        player.Tick();
        ++played;
        if (!frame(played, player.ComposeScreen()))
            return Result::Stopped;
    }
    return Result::Played;
}

CLedGif::CLedGif() = default;
CLedGif::~CLedGif() = default;

bool CLedGif::Open(const QString& path, const QImage& first, int zoom, bool dots)
{
    m_error.clear();
    m_timeline.reset();
    if (static_cast<qint64>(first.width()) * zoom > CProgramRecording::kGifMaxSide ||
        static_cast<qint64>(first.height()) * zoom > CProgramRecording::kGifMaxSide) {
        m_error = QStringLiteral("A %1 x %2 screen at zoom %3 is too large for a GIF.")
                      .arg(first.width())
                      .arg(first.height())
                      .arg(zoom);
        return false;
    }
    m_look = std::make_unique<CLedGifLook>(first.width(), first.height(), zoom, dots);
    const bool opened =
        path.isEmpty()
            ? m_writer.OpenInMemory(m_look->Width(), m_look->Height(), CLedGifLook::Palette())
            : m_writer.Open(path, m_look->Width(), m_look->Height(), CLedGifLook::Palette());
    if (!opened)
        return false;
    m_timeline = std::make_unique<CGifTimeline>(m_writer, *m_look);
    return true;
}

bool CLedGif::Add(int tick, const QImage& screen)
{
    return m_timeline &&
           m_timeline->Add(screen, static_cast<qint64>(tick - 1) * CWindowPlayer::kTickMs);
}

bool CLedGif::Finish(int ticks)
{
    return m_timeline && m_timeline->Finish(static_cast<qint64>(ticks) * CWindowPlayer::kTickMs) &&
           m_writer.Finish();
}

bool CProgramRecording::Gif(CScreen& screen, CProgram& program, int zoom, bool dots, int limit,
                            QByteArray& gif, QString& error)
{
    CLedGif recording;
    const auto begin = [&](const QImage& first) {
        return recording.Open(QString(), first, zoom, dots);
    };
    const auto frame = [&](int tick, const QImage& picture) {
        return recording.Add(tick, picture);
    };
    int played = 0;
    switch (Play(screen, program, 0, limit, begin, frame, played)) {
    case Result::NothingToPlay:
        error = QStringLiteral("'%1' has nothing to play.").arg(program.GetName());
        return false;
    case Result::NoSize:
        error = QStringLiteral("The screen has no size.");
        return false;
    case Result::Stopped:
        error = recording.Error();
        return false;
    case Result::Played:
        break;
    }
    if (!recording.Finish(played)) {
        error = recording.Error();
        return false;
    }
    gif = recording.Bytes();
    return true;
}
