// The main window on the large project: one rebuild of the project tree, and opening the
// project from the Open command until the window answers with its tree and preview.
#include "bench/bench_registry.h"
#include "bench/large_project.h"

#include "app/left_view.h"
#include "app/main_frame.h"
#include "base/app_paths.h"
#include "document/lumivant_doc.h"
#include "editors/preview_view.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/renderer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// The window keeps its files (settings, recent list, recovery copy) in the folder.
void KeepFilesIn(const QTemporaryDir& dir)
{
    SetDataFolderOverride(dir.path());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
}

double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

double RunTreeFigure()
{
    QTemporaryDir dir;
    KeepFilesIn(dir);
    CLumivantDoc doc;
    doc.SetRoot(LargeProject(), QString());
    CMainFrame frame(doc);
    frame.show();
    QApplication::processEvents();
    CProjectObject* program = doc.Root().GetChild(0)->GetChild(100);
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        frame.Tree().Rebuild(program);
        frame.Tree().repaint();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    std::printf("tree rebuild %.1f ms (%d programs)\n", best,
                doc.Root().GetChild(0)->GetChildCount());
    return best / 100.0;
}

double RunOpenFigure()
{
    InstallRenderer();
    QTemporaryDir dir;
    KeepFilesIn(dir);
    const QString path = dir.filePath(QStringLiteral("large.ledprj"));
    LargeProject()->SaveProject(path);

    double loadMs = 1e300;
    for (int run = 0; run < 3; ++run) {
        auto root = std::make_unique<CProjectRoot>();
        QElapsedTimer timer;
        timer.start();
        root->LoadProject(path);
        loadMs = std::min(loadMs, timer.nsecsElapsed() / 1e6);
    }

    CLumivantDoc doc;
    CMainFrame frame(doc);
    frame.show();
    QApplication::processEvents();
    double openMs = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        frame.OpenFile(path);
        frame.Tree().repaint();
        frame.Preview().repaint();
        QApplication::processEvents();
        openMs = std::min(openMs, timer.nsecsElapsed() / 1e6);
    }
    std::printf("open %.1f ms, bare load %.1f ms, resident %.0f MB after opening\n", openMs, loadMs,
                ResidentMegabytes());
    return openMs / loadMs;
}

const BenchRegistration kTree("tree", "one rebuild of the project tree / 100 ms (goal <= 0.5)",
                              RunTreeFigure);
const BenchRegistration kOpen("open", "Open until the window answers / bare load (goal <= 3)",
                              RunOpenFigure);

} // namespace
