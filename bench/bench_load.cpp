// Load and save of a large project (one screen, 200 programs x 16 windows x 10 zones),
// against a bare parse of the same file by the XML library alone.
#include "bench/bench_registry.h"

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

std::unique_ptr<CProjectRoot> LargeProject()
{
    static const int kZoneKinds[] = {KindText,     KindImage,       KindTable,     KindClock,
                                     KindDateTime, KindTemperature, KindCountdown, KindAnimate,
                                     KindText,     KindText};
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->RemoveChildAt(0);
    for (int p = 0; p < 200; ++p) {
        auto program = std::make_unique<CProgram>(screen);
        for (int w = 0; w < 16; ++w) {
            auto window = program->CreateChild(KindWindow);
            for (int kind : kZoneKinds)
                window->AddChild(window->CreateChild(kind));
            program->AddChild(std::move(window));
        }
        screen->AddChild(std::move(program));
    }
    return root;
}

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

    const double parseMs = BestOf(5, [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        pugi::xml_document document;
        document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    });
    int screens = 0;
    const double loadMs = BestOf(5, [&] {
        CProjectRoot root;
        root.LoadProject(path);
        screens = root.GetChildCount();
    });
    std::printf("file %lld bytes, %d screen(s)\n", static_cast<long long>(QFile(path).size()),
                screens);
    std::printf("save %.1f ms, load %.1f ms, bare parse %.1f ms\n", saveMs, loadMs, parseMs);
    return loadMs / parseMs;
}

const BenchRegistration kLoad("load", "project load time / bare XML parse (goal <= 2)",
                              RunLoadFigure);

} // namespace
