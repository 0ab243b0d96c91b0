#pragma once

#include "render/gif_writer.h"
#include "render/led_look.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CProgram;
class CScreen;

// The LED look of a screen as GIF palette indexes: each LED a zoom x zoom block of its LED
// colour, or with dots a round dot on the LED look's ground (see CLedLook).
class CLedGifLook
{
public:
    // The eight LED colours by colour index, then the ground behind the dots.
    static const std::vector<CGifWriter::Colour>& Palette();

    CLedGifLook(int width, int height, int zoom, bool dots);
    int Width() const { return m_width * m_look.Zoom(); }
    int Height() const { return m_height * m_look.Zoom(); }

    // The picture of a screen as palette indexes, row by row.
    std::vector<std::uint8_t> Indexes(const QImage& screen) const;

private:
    int m_width;
    int m_height;
    CLedLook m_look;
};

// The animated GIF of a played program in the LED look, fed the screen after every tick:
// identical consecutive screens are merged, delays kept in hundredths with the rounding
// carried so that the total matches the ticks.
class CLedGif
{
public:
    CLedGif();
    ~CLedGif();

    // Starts a GIF for screens of first's size, into the file, or into memory when path is
    // empty. False with Error() when it is too large or cannot be written.
    bool Open(const QString& path, const QImage& first, int zoom, bool dots);
    bool Add(int tick, const QImage& screen);
    bool Finish(int ticks);
    void Abandon() { m_writer.Abandon(); }

    const QString& Error() const { return m_error.isEmpty() ? m_writer.Error() : m_error; }
    const QByteArray& Bytes() const { return m_writer.Bytes(); }

private:
    CGifWriter m_writer;
    std::unique_ptr<CLedGifLook> m_look;
    std::unique_ptr<class CGifTimeline> m_timeline;
    QString m_error;
};

// A program played with the preview's players, without a display: lumivant-cli play and
// the server's animated previews.
class CProgramRecording
{
public:
    static constexpr int kGifMaxSide = 0xFFFF;

    enum class Result { Played, NothingToPlay, NoSize, Stopped };
    using Begin = std::function<bool(const QImage& first)>;
    using Frame = std::function<bool(int tick, const QImage& screen)>;

    // Renders the screen as the editor shows it and plays the program from its start:
    // begin gets the screen before the first tick, frame the screen after every tick (from
    // 1). With ticks 0 it plays until every window has shown each of its zones, else that
    // many ticks; never more than limit. Either callback stops the play by returning false
    // (Stopped). played: the ticks played.
    static Result Play(CScreen& screen, CProgram& program, int ticks, int limit, const Begin& begin,
                       const Frame& frame, int& played);

    // The animated GIF of a program in the LED look, played as Play does with ticks 0.
    // False with the reason in error.
    static bool Gif(CScreen& screen, CProgram& program, int zoom, bool dots, int limit,
                    QByteArray& gif, QString& error);
};
