// Inputs that once made a sanitizer or a fuzzer complain (tests/data/sanitizer): each is
// loaded, rendered and played again. Under the sanitizer build a fault that comes back
// stops the test.
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/random_source.h"
#include "render/renderer.h"
#include "render/window_player.h"
#include "support/test_support.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

QStringList SanitizerInputs(const QString& filter)
{
    const QDir folder(TestDataPath(QStringLiteral("sanitizer")));
    QStringList paths;
    for (const QString& name : folder.entryList({filter}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

TEST(SanitizerInputs, ProjectsLoadRenderAndPlayEveryWindowToItsPage)
{
    InstallRenderer();
    const QStringList projects = SanitizerInputs(QStringLiteral("*.ledprj"));
    ASSERT_FALSE(projects.isEmpty());
    for (const QString& path : projects) {
        SCOPED_TRACE(path.toStdString());
        CProjectRoot root;
        ASSERT_TRUE(root.LoadProject(path));
        auto* screen = static_cast<CScreen*>(root.GetChild(0));
        screen->Prepare(RenderForm::Display);
        int windows = 0;
        screen->ForEachChild([&](CProjectObject& program) {
            program.ForEachChild([&](CProjectObject& child) {
                if (child.GetKind() != KindWindow)
                    return;
                ++windows;
                CSeededRandom random(11);
                CWindowPlayer player(&random);
                player.Bind(static_cast<CPlayWindow*>(&child),
                            screen->Params().U8(ControllerParams::ColourType));
                player.StartPlay();
                int ticks = 0;
                while (!player.HasShownAllZones() && ticks < 20000) {
                    player.Tick();
                    ++ticks;
                }
                EXPECT_TRUE(player.HasShownAllZones()) << child.GetName().toStdString();
            });
        });
        EXPECT_GT(windows, 0);
    }
}

} // namespace
