// lumivant-bench prepare: rendering a large project (200 programs x 16 windows x 10 default
// text zones) for the controller, in zones per second, against rendering one such zone
// alone in a loop in the same run.
#include "bench/bench_registry.h"

#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/renderer.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWindows = 16;
constexpr int kZonesPerWindow = 10;

std::unique_ptr<CProjectRoot> TextProject(int programs)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->RemoveChildAt(0);
    for (int p = 0; p < programs; ++p) {
        auto program = std::make_unique<CProgram>(screen);
        for (int w = 0; w < kWindows; ++w) {
            auto window = program->CreateChild(KindWindow);
            for (int z = 0; z < kZonesPerWindow; ++z)
                window->AddChild(window->CreateChild(KindText));
            program->AddChild(std::move(window));
        }
        screen->AddChild(std::move(program));
    }
    return root;
}

double RunPrepareFigure()
{
    InstallRenderer();
    // LUMIVANT_BENCH_PROGRAMS makes a smaller project, for profiling.
    const char* programsText = std::getenv("LUMIVANT_BENCH_PROGRAMS");
    const int programs = programsText ? std::max(1, std::atoi(programsText)) : 200;
    auto project = TextProject(programs);
    auto* screen = static_cast<CScreen*>(project->GetChild(0));
    const int zones = programs * kWindows * kZonesPerWindow;

    // One zone of the same project, rendered again and again for about as many zones as
    // fit in a second (at least 200).
    auto* zone = static_cast<CTextZone*>(screen->GetChild(0)->GetChild(0)->GetChild(0));
    const int alone = std::max(200, std::min(zones, 2000));

    // Best of a few rounds, the two alternating, so that both see the same state of a
    // shared machine.
    double wholeSeconds = 1e300;
    double aloneSeconds = 1e300;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        screen->Prepare(RenderForm::Controller);
        wholeSeconds = std::min(wholeSeconds, timer.nsecsElapsed() / 1e9);
        timer.restart();
        for (int i = 0; i < alone; ++i)
            zone->Prepare(RenderForm::Controller);
        aloneSeconds = std::min(aloneSeconds, timer.nsecsElapsed() / 1e9);
    }

    const double wholeRate = zones / wholeSeconds;
    const double aloneRate = alone / aloneSeconds;
    std::printf("%d zones in %.2f s (%.0f zones/s); one zone alone %.0f zones/s\n", zones,
                wholeSeconds, wholeRate, aloneRate);
    return wholeRate / aloneRate;
}

const BenchRegistration
    kPrepare("prepare",
             "zones/s rendering a large project / zones/s of one zone alone (goal >= 1.5)",
             RunPrepareFigure);

} // namespace
