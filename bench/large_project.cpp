#include "bench/large_project.h"

#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"

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
