#pragma once

#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <memory>

// A project of one screen of the given size holding one program, ready for windows.
struct OneProgram
{
    std::unique_ptr<CProjectRoot> root = CProjectRoot::NewProject();
    CScreen* screen = static_cast<CScreen*>(root->GetChild(0));
    CProgram* program = static_cast<CProgram*>(screen->GetChild(0));

    explicit OneProgram(int width = 256, int height = 32)
    {
        screen->Params().SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
        screen->Params().SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
    }

    CPlayWindow* AddWindow()
    {
        auto window = program->CreateChild(KindWindow);
        auto* raw = static_cast<CPlayWindow*>(window.get());
        program->AddChild(std::move(window));
        return raw;
    }

    CPlayWindow* AddWindow(const LedRect& rect)
    {
        CPlayWindow* window = AddWindow();
        window->SetWindowRect(rect);
        return window;
    }

    template <typename Zone> Zone* AddZone(CProjectObject* parent, int kind)
    {
        auto zone = parent->CreateChild(kind);
        auto* raw = static_cast<Zone*>(zone.get());
        parent->AddChild(std::move(zone));
        return raw;
    }
};
