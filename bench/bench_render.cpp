// lumivant-bench render: page rendering of a long text zone and of an animated image.
#include "bench/bench_registry.h"

#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/project_root.h"
#include "model/text_zone.h"
#include "render/renderer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// One tick of the preview's animation timer.
constexpr double kPreviewTickMicroseconds = 8000.0;

QString TextOfLines(int lines)
{
    QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss Arial;}}{\\colortbl ;\\red255\\green0\\blue0;"
        "\\red0\\green255\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs24 ");
    for (int i = 0; i < lines; ++i) {
        rtf += i % 2 ? QStringLiteral("\\cf2\\f1 Line %1 of the bench text\\par ").arg(i + 1)
                     : QStringLiteral("\\cf1\\f0 \\'b5\\'da %1 \\'d0\\'d0 \\u20013?\\u25991?\\par ")
                           .arg(i + 1);
    }
    return rtf + u'}';
}

// A GIF of the frames, written by hand: one colour per frame, LZW restarted every two
// pixels so that every code stays 3 bits wide.
QByteArray AnimatedGif(int width, int height, int frames)
{
    QByteArray gif("GIF89a");
    const auto u16 = [&gif](int v) {
        gif.append(static_cast<char>(v & 0xFF));
        gif.append(static_cast<char>((v >> 8) & 0xFF));
    };
    u16(width);
    u16(height);
    gif.append(static_cast<char>(0xF1));
    gif.append('\0');
    gif.append('\0');
    const unsigned char palette[12] = {0, 0, 0, 250, 250, 250, 200, 30, 5, 0, 0, 255};
    gif.append(reinterpret_cast<const char*>(palette), 12);
    for (int f = 0; f < frames; ++f) {
        gif.append("\x21\xF9\x04\x00\x05\x00\x00\x00", 8);
        gif.append(',');
        u16(0);
        u16(0);
        u16(width);
        u16(height);
        gif.append('\0');
        gif.append('\x02');
        QByteArray data;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= static_cast<quint32>(code) << count;
            count += 3;
            while (count >= 8) {
                data.append(static_cast<char>(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        };
        for (int p = 0; p < width * height; ++p) {
            if (p % 2 == 0)
                put(4);
            put(1 + (p / width + f) % 3);
        }
        put(5);
        if (count > 0)
            data.append(static_cast<char>(bits & 0xFF));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(static_cast<char>(block.size()));
            gif.append(block);
        }
        gif.append('\0');
    }
    gif.append(';');
    return gif;
}

template <typename Zone> double MicrosecondsPerPage(Zone& zone, int runs, int& pages)
{
    zone.Prepare(RenderForm::Controller); // warm the font caches
    QElapsedTimer timer;
    timer.start();
    int total = 0;
    for (int i = 0; i < runs; ++i) {
        zone.Prepare(RenderForm::Controller);
        total += zone.GetPageCount();
    }
    const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1000.0;
    pages = zone.GetPageCount();
    return total > 0 ? elapsed / total : elapsed;
}

double RunRenderBench()
{
    InstallRenderer();
    CProjectRoot textRoot;
    CPlayWindow textWindow(&textRoot);
    textWindow.SetWindowRect(LedRect{0, 0, 256, 32});
    CTextZone text(&textWindow);
    text.SetAction(ActionDirect);
    text.SetRtf(TextOfLines(200));
    int textPages = 0;
    const double textPerPage = MicrosecondsPerPage(text, 5, textPages);

    QTemporaryDir dir;
    const QString gifPath = dir.filePath(QStringLiteral("bench.gif"));
    {
        QFile file(gifPath);
        if (file.open(QIODevice::WriteOnly))
            file.write(AnimatedGif(128, 64, 200));
    }
    CPlayWindow imageWindow(&textRoot);
    imageWindow.SetWindowRect(LedRect{0, 0, 128, 64});
    CImageZone image(&imageWindow);
    image.Key().sourcePath = gifPath;
    int imagePages = 0;
    const double imagePerPage = MicrosecondsPerPage(image, 3, imagePages);

    std::printf("text zone 256x32, 200 lines: %d pages, %.1f us per page\n", textPages,
                textPerPage);
    std::printf("image zone 128x64, 200 frames: %d pages, %.1f us per page\n", imagePages,
                imagePerPage);
    std::printf("preview tick: %.0f us\n", kPreviewTickMicroseconds);
    return textPerPage / kPreviewTickMicroseconds;
}

BenchRegistration reg("render", "microseconds per text page / one 8 ms preview tick",
                      RunRenderBench);

} // namespace
