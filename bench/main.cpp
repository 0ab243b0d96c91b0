// lumivant-bench NAME: runs one figure and prints "ratio <value>" as its last line.
#include "bench/bench_registry.h"

#include "base/headless.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Rendering and the windows need an application object but never a display.
    PrepareHeadlessEnvironment();
    // What the figures leave behind (delivery receipts, earlier versions) stays out of the
    // user's state folder.
    const QTemporaryDir state(QDir::tempPath() + QStringLiteral("/lumivant-bench-state-XXXXXX"));
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    const auto& figures = BenchFigures();
    if (argc < 2) {
        std::printf("Usage: lumivant-bench NAME\nFigures:\n");
        for (const auto& [name, figure] : figures)
            std::printf("  %-8s %s\n", name.c_str(), figure.description);
        return 2;
    }
    const auto it = figures.find(argv[1]);
    if (it == figures.end()) {
        std::fprintf(stderr, "lumivant-bench: unknown figure '%s'\n", argv[1]);
        return 2;
    }
    const double ratio = it->second.run();
    std::printf("ratio %.3f\n", ratio);
    return 0;
}
