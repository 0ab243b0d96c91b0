// lumivant-bench check: the project checker over the large project of the load figure (200
// programs x 16 windows x 10 zones), its content varied so that every kind of finding
// occurs, against the load of the same file in the same run.
#include "bench/bench_registry.h"
#include "bench/large_project.h"

#include "model/animate_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "render/project_check.h"
#include "render/renderer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

namespace {

double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + now.tv_nsec / 1e6;
}

QString Rtf(const char* body)
{
    return QString::fromLatin1("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Comic Sans Nowhere;}}"
                               "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue0;"
                               "\\red255\\green255\\blue0;}\\f0\\fs24 ") +
           QString::fromLatin1(body) + u'}';
}

// Texts that each give a finding of their own, and one that gives none.
const char* const kTexts[] = {
    "\\cf2 Black text\\par",                                     // unshown colour
    "\\cf1\\highlight1 Marked\\par",                             // a highlight bar
    "\\cf1 One\\par Two\\par Three\\par",                        // lines never shown
    "Logo {\\pict\\wmetafile8\\picw10\\pich10 0100090000}\\par", // undrawable picture
    "\\f1\\cf1 Hello\\par",                                      // missing face
    "\\cf1 Welcome!\\par",
};

void WritePictures(const QString& folder)
{
    QImage open(64, 32, QImage::Format_RGB32); // white lettering: taken by the key colour
    open.fill(Qt::black);
    QPainter(&open).fillRect(8, 8, 48, 16, Qt::white);
    open.save(folder + QStringLiteral("/open.png"));
    QImage photo(160, 90, QImage::Format_RGB32); // tones that collapse
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(20 + x, y * 255 / 89, 60 + (x + y) % 90));
    }
    photo.save(folder + QStringLiteral("/photo.jpg"));
    QImage sky(64, 32, QImage::Format_RGB32); // blue only: dark on a red sign
    sky.fill(qRgb(0, 0, 220));
    sky.save(folder + QStringLiteral("/sky.png"));
}

// The large project with every kind of finding among its zones.
std::unique_ptr<CProjectRoot> VariedProject(const QString& folder)
{
    auto root = LargeProject();
    const QString pictures[] = {folder + QStringLiteral("/open.png"),
                                folder + QStringLiteral("/photo.jpg"),
                                folder + QStringLiteral("/sky.png")};
    int n = 0;
    root->GetChild(0)->ForEachChild([&](CProjectObject& program) {
        program.ForEachChild([&](CProjectObject& window) {
            ++n;
            auto* text = static_cast<CTextZone*>(window.GetChild(0));
            text->SetRtf(Rtf(kTexts[n % std::size(kTexts)]));
            if (n % std::size(kTexts) == 2)
                text->SetAction(3); // continuous move left
            else
                text->SetAction(1);
            static_cast<CImageZone*>(window.GetChild(1))->Key().sourcePath =
                pictures[n % std::size(pictures)];
            if (n % 5 == 0)
                static_cast<CTableZone*>(window.GetChild(2))->Cell(0, 0).fontName =
                    QStringLiteral("Comic Sans Nowhere");
            static_cast<CAnimateZone*>(window.GetChild(7))
                ->SetRtf(Rtf("\\cf1 A greeting too long for its window\\par"));
        });
    });
    return root;
}

double RunCheckFigure()
{
    InstallRenderer();
    QTemporaryDir dir;
    WritePictures(dir.path());
    const QString path = dir.filePath(QStringLiteral("large.ledprj"));
    if (!VariedProject(dir.path())->SaveProject(path))
        return -1;

    // Processor time of this thread: what each costs, whatever else the machine runs.
    std::unique_ptr<CProjectRoot> root;
    auto loadOnce = [&] {
        root = std::make_unique<CProjectRoot>();
        const double start = ThreadMilliseconds();
        root->LoadProject(path);
        return ThreadMilliseconds() - start;
    };
    ProjectFindings findings;
    auto checkOnce = [&] {
        findings.clear(); // the last run's findings go before the clock starts
        findings.shrink_to_fit();
        const double start = ThreadMilliseconds();
        ProjectFindings found = CheckProject(path, *root);
        const double elapsed = ThreadMilliseconds() - start;
        findings = std::move(found);
        return elapsed;
    };
    // Alternate the two so that both see the same state of a shared machine.
    double loadMs = 1e300;
    double checkMs = 1e300;
    for (int round = 0; round < 5; ++round) {
        loadMs = std::min(loadMs, loadOnce());
        checkMs = std::min(checkMs, checkOnce());
    }
    std::map<FindingKind, int> kinds;
    for (const ProjectFinding& finding : findings)
        ++kinds[finding.kind];
    std::printf("file %lld bytes, %zu findings of %zu kinds:",
                static_cast<long long>(QFile(path).size()), findings.size(), kinds.size());
    for (const auto& [kind, count] : kinds)
        std::printf(" %s %d", FindingKindName(kind), count);
    std::printf("\nload %.1f ms, check %.1f ms of processor time (goal: check <= 1.5 x load)\n",
                loadMs, checkMs);
    return checkMs / loadMs;
}

const BenchRegistration kCheck("check", "project check / load of the same file (goal <= 1.5)",
                               RunCheckFigure);

} // namespace
