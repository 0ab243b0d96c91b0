#pragma once

// A small project built by hand for the compiler tests: one screen, one program, and
// helpers to add windows and zones with hand-made pages.
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/byte_buffer.h"
#include "render/compile_layout.h"
#include "render/compile_screen.h"
#include "render/random_source.h"

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

class CompileFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        program = static_cast<CProgram*>(screen->GetChild(0));
        SetScreen(64, 32, 3, 1);
    }

    void SetScreen(int width, int height, int colourType, int polarity)
    {
        ControllerParams& p = screen->Params();
        p.SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
        p.SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
        p.SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(colourType));
        p.SetU8(ControllerParams::DataPolarity, static_cast<std::uint8_t>(polarity));
    }

    CProgram* AddProgram()
    {
        auto child = screen->CreateChild(KindProgram);
        auto* added = static_cast<CProgram*>(child.get());
        screen->AddChild(std::move(child));
        return added;
    }

    CPlayWindow* AddWindow(const LedRect& rect, CProgram* into = nullptr)
    {
        CProgram* target = into ? into : program;
        auto child = std::make_unique<CPlayWindow>(target);
        auto* window = child.get();
        window->SetWindowRect(rect);
        target->AddChild(std::move(child));
        return window;
    }

    template <typename Zone> Zone* AddZone(CPlayWindow* window, int pages = 1)
    {
        auto child = std::make_unique<Zone>(window);
        Zone* zone = child.get();
        window->AddChild(std::move(child));
        zone->ClearPages();
        const LedRect r = window->WindowRect();
        for (int i = 0; i < pages; ++i)
            zone->AddPage(std::make_unique<CLedBitmap>(r.Width(), r.Height()));
        return zone;
    }

    static void SetPage(CEffectZone* zone, int index, const QImage& image)
    {
        zone->Pages()[static_cast<size_t>(index)] = std::make_unique<CLedBitmap>(image);
    }

    // Compiles the screen with a fixed seed.
    QByteArray Compile(std::uint32_t seed = 1)
    {
        CScopedRandomSeed random(seed);
        CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
        lastResult = WriteData(*screen, buffer);
        return QByteArray(reinterpret_cast<const char*>(buffer.Data()),
                          static_cast<qsizetype>(buffer.Length()));
    }

    static std::uint32_t U32(const QByteArray& data, qsizetype at)
    {
        return layout::GetU32(reinterpret_cast<const std::uint8_t*>(data.constData() + at));
    }
    static std::uint16_t U16(const QByteArray& data, qsizetype at)
    {
        return layout::GetU16(reinterpret_cast<const std::uint8_t*>(data.constData() + at));
    }
    static std::uint8_t U8(const QByteArray& data, qsizetype at)
    {
        return static_cast<std::uint8_t>(data.at(at));
    }

    static QImage Filled(int width, int height, QRgb colour)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    CProgram* program = nullptr;
    bool lastResult = false;
};
