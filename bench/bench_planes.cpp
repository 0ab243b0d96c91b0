// lumivant-bench planes: bit-plane packing against memcpy of the same source bytes, for one
// 1024 x 256 RGB page and for the compile of a whole large screen.
#include "bench/bench_registry.h"

#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/bit_planes.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "render/random_source.h"

#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QImage NoisePage(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | (random.generate() & 0x00030303u);
    }
    return image;
}

// The best of `rounds` timings of `work`, each repeated until it has run 20 ms.
template <typename F> double BestSecondsPerCall(F&& work, int rounds = 7)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        int calls = 0;
        const auto start = Clock::now();
        auto now = start;
        do {
            work();
            ++calls;
            now = Clock::now();
        } while (now - start < std::chrono::milliseconds(20));
        best = std::min(best, std::chrono::duration<double>(now - start).count() / calls);
    }
    return best;
}

// Keeps the compiler from dropping the copies.
volatile std::uint8_t g_sink;

double PageRatio(bool quiet = false)
{
    const QImage page = NoisePage(1024, 256, 1);
    const std::size_t sourceBytes = static_cast<std::size_t>(page.sizeInBytes());
    std::vector<std::uint8_t> copy(sourceBytes);
    std::vector<std::uint8_t> planes(planes::PlaneBytes(1024, 256) * 3);
    const double copySeconds = BestSecondsPerCall([&] {
        std::memcpy(copy.data(), page.constBits(), sourceBytes);
        g_sink = copy[sourceBytes / 2];
    });
    const double packSeconds = BestSecondsPerCall([&] {
        planes::Pack(page, 1024, 256, 3, false, planes.data());
        g_sink = planes[7];
    });
    const double ratio = copySeconds / packSeconds;
    if (!quiet)
        std::printf("page 1024x256 RGB: pack %.1f us, memcpy %.1f us, %.0f MB/s, ratio %.3f\n",
                    packSeconds * 1e6, copySeconds * 1e6, sourceBytes / packSeconds / 1e6, ratio);
    return ratio;
}

double ScreenRatio()
{
    // 4 programs of 4 windows, each with 3 zones of 4 pages: 48 MB of page pixels.
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU16(ControllerParams::Width, 1024);
    screen->Params().SetU16(ControllerParams::Height, 512);
    screen->Params().SetU8(ControllerParams::ColourType, 3);
    std::vector<QImage> sources;
    for (int i = 0; i < 4; ++i)
        sources.push_back(NoisePage(512, 256, 10 + static_cast<quint32>(i)));
    std::size_t sourceBytes = 0;
    for (int p = 0; p < 4; ++p) {
        CProgram* program = p == 0 ? static_cast<CProgram*>(screen->GetChild(0)) : nullptr;
        if (!program) {
            auto child = std::make_unique<CProgram>(screen);
            program = child.get();
            screen->AddChild(std::move(child));
        }
        for (int w = 0; w < 4; ++w) {
            auto window = std::make_unique<CPlayWindow>(program);
            window->SetWindowRect(
                {(w % 2) * 512, (w / 2) * 256, (w % 2) * 512 + 512, (w / 2) * 256 + 256});
            for (int z = 0; z < 3; ++z) {
                auto zone = std::make_unique<CTextZone>(window.get());
                zone->ClearPages();
                for (int page = 0; page < 4; ++page) {
                    zone->AddPage(std::make_unique<CLedBitmap>(sources[static_cast<size_t>(page)]));
                    sourceBytes += static_cast<std::size_t>(sources[0].sizeInBytes());
                }
                window->AddChild(std::move(zone));
            }
            program->AddChild(std::move(window));
        }
    }
    // Every page is copied into the same scratch page, so that the copy, like the compile,
    // reads the page pixels and writes little beyond the cache.
    std::vector<std::uint8_t> copy(static_cast<std::size_t>(sources[0].sizeInBytes()));
    const double copySeconds = BestSecondsPerCall(
        [&] {
            for (int p = 0; p < 4 * 4 * 3; ++p) {
                for (const QImage& image : sources) {
                    std::memcpy(copy.data(), image.constBits(),
                                static_cast<std::size_t>(image.sizeInBytes()));
                    g_sink = copy[static_cast<std::size_t>(p)];
                }
            }
        },
        3);
    CSeededRandom random(1);
    SetRandomSource(&random);
    std::size_t length = 0;
    const double compileSeconds = BestSecondsPerCall(
        [&] {
            CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
            WriteData(*screen, buffer);
            length = buffer.Length();
            g_sink = buffer.Data()[length / 2];
        },
        3);
    SetRandomSource(nullptr);
    const double ratio = copySeconds / compileSeconds;
    std::printf("screen of %zu MB of pages: compile %.1f ms (%zu bytes), memcpy %.1f ms, "
                "ratio %.3f\n",
                sourceBytes >> 20, compileSeconds * 1e3, length, copySeconds * 1e3, ratio);
    return ratio;
}

const BenchRegistration
    kPlanes("planes",
            "bit-plane packing throughput / memcpy of the source (page and "
            "whole screen; the lower of the two)",
            [] {
                // The slower row kernels, for comparison.
                for (const auto path : {planes::VectorPath::Scalar, planes::VectorPath::Wide}) {
                    if (!planes::SelectVectorPath(path))
                        continue;
                    std::printf("(%s path: page ratio %.3f)\n", planes::VectorPathName(),
                                PageRatio(true));
                }
                planes::SelectVectorPath(planes::VectorPath::Best);
                std::printf("vector path: %s\n", planes::VectorPathName());
                return std::min(PageRatio(), ScreenRatio());
            });

} // namespace
