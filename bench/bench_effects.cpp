// lumivant-bench effects: one step of every entry effect on a 512 x 256 full-colour window,
// with the page brought in as the card shows it (a picture keyed and reduced to the screen's
// colours once per page, its cost spread over the effect's steps).
#include "bench/bench_registry.h"

#include "render/effect_player.h"
#include "render/led_paint.h"
#include "render/random_source.h"

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr double kPreviewTickNanoseconds = 8e6;
constexpr int kWidth = 512;
constexpr int kHeight = 256;
// Steps timed per effect, spread evenly over all of its steps.
constexpr int kSampledSteps = 96;

QImage NoisePage(CSeededRandom& random)
{
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = qRgb(random.Next() & 0xFF, random.Next() & 0xFF, random.Next() & 0xFF);
    }
    return page;
}

// The thread's processor time: what a step costs, whatever else the machine is running.
qint64 ThreadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Mean nanoseconds of one step of the effect, over steps spread across the whole effect.
double NanosecondsPerStep(CEffectPlayer& player, QImage& output, const QImage& first,
                          const QImage& second, int effect)
{
    EffectBorder border;
    border.on = true;
    border.colour = 7;
    border.style = 3;
    border.mode = 1;
    border.speed = 1;
    player.Load(&output, &first, EffectDirect, 3, kWidth, kHeight, border);
    player.Step();
    // The preview reduces a picture's page as the card does when the page comes in.
    const qint64 reduceStart = ThreadNanoseconds();
    QImage card = second;
    const ImageKeyParams key;
    ReduceForCard(card, &key, 3);
    player.LoadPage(&card, effect);
    const qint64 reduced = ThreadNanoseconds() - reduceStart;
    const int steps = player.Steps();
    const int every = std::max(1, steps / kSampledSteps);
    qint64 timed = 0;
    int count = 0;
    for (int k = 0; k < steps; ++k) {
        if (k % every != 0) {
            player.Step();
            continue;
        }
        const qint64 start = ThreadNanoseconds();
        player.Step();
        timed += ThreadNanoseconds() - start;
        ++count;
    }
    return count > 0 ? static_cast<double>(timed) / count + static_cast<double>(reduced) / steps
                     : 0.0;
}

double RunEffectsBench()
{
    CSeededRandom random(7);
    const QImage first = NoisePage(random);
    const QImage second = NoisePage(random);
    QImage output(kWidth, kHeight, QImage::Format_RGB32);
    CEffectPlayer player(&random);
    NanosecondsPerStep(player, output, first, second, EffectMoveLeft); // warm the caches
    double sum = 0;
    double slowest = 0;
    int slowestEffect = 0;
    for (int effect = 0; effect < EffectTypeCount; ++effect) {
        const double ns = NanosecondsPerStep(player, output, first, second, effect);
        std::printf("%s%2d:%5.0f", effect % 8 == 0 ? "\nus per step " : "  ", effect, ns / 1000.0);
        sum += ns;
        if (ns > slowest) {
            slowest = ns;
            slowestEffect = effect;
        }
    }
    const double mean = sum / static_cast<int>(EffectTypeCount);
    std::printf("\n");
    std::printf("window %dx%d, 3 planes, border on: mean step %.1f us (processor time) over %d "
                "effects\n",
                kWidth, kHeight, mean / 1000.0, static_cast<int>(EffectTypeCount));
    std::printf("slowest: effect %d, %.1f us per step, ratio %.4f (goal < 0.1)\n", slowestEffect,
                slowest / 1000.0, slowest / kPreviewTickNanoseconds);
    std::printf("preview tick: %.0f us; goal for the mean: <= 0.02\n",
                kPreviewTickNanoseconds / 1000.0);
    return mean / kPreviewTickNanoseconds;
}

BenchRegistration reg("effects", "mean time of one effect step (512x256, RGB) / one 8 ms tick",
                      RunEffectsBench);

} // namespace
