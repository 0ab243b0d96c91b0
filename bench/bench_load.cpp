// Load and save of a large project (one screen, 200 programs x 16 windows x 10 zones),
// against a bare parse of the same file by the XML library alone.
#include "bench/bench_registry.h"
#include "bench/large_project.h"

#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>

namespace {

// Best of a few runs, in milliseconds.
template <typename F> double BestOf(int runs, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

double RunLoadFigure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.ledprj"));
    auto project = LargeProject();
    const double saveMs = BestOf(3, [&] { project->SaveProject(path); });

    // Each run times the read and parse (or the load) alone; tearing the result down
    // afterwards is not part of it.
    auto parseOnce = [&] {
        auto document = std::make_unique<pugi::xml_document>();
        QElapsedTimer timer;
        timer.start();
        document->load_file(QFile::encodeName(path).constData());
        return timer.nsecsElapsed() / 1e6;
    };
    int screens = 0;
    auto loadOnce = [&] {
        auto root = std::make_unique<CProjectRoot>();
        QElapsedTimer timer;
        timer.start();
        root->LoadProject(path);
        const double ms = timer.nsecsElapsed() / 1e6;
        screens = root->GetChildCount();
        return ms;
    };
    // Alternate the two so that both see the same state of a shared machine.
    double parseMs = 1e300;
    double loadMs = 1e300;
    for (int round = 0; round < 7; ++round) {
        parseMs = std::min(parseMs, parseOnce());
        loadMs = std::min(loadMs, loadOnce());
    }
    std::printf("file %lld bytes, %d screen(s)\n", static_cast<long long>(QFile(path).size()),
                screens);
    std::printf("save %.1f ms, load %.1f ms, bare parse %.1f ms\n", saveMs, loadMs, parseMs);
    return loadMs / parseMs;
}

const BenchRegistration kLoad("load", "project load time / bare XML parse (goal <= 2)",
                              RunLoadFigure);

} // namespace
