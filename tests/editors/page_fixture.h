#pragma once

#include "document/lumivant_doc.h"
#include "editors/page_factory.h"
#include "editors/property_page.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QComboBox>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <memory>

// A document of one screen (256 x 32 unless told) with one program and one window, and
// helpers that make pages and find their controls.
class PageTest : public testing::Test
{
protected:
    CLumivantDoc doc;

    CScreen& Screen() { return *static_cast<CScreen*>(doc.Root().GetChild(0)); }
    CProgram& Program() { return *static_cast<CProgram*>(Screen().GetChild(0)); }
    void SetScreen(int width, int height, int colourType)
    {
        Screen().Params().SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
        Screen().Params().SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
        Screen().Params().SetU8(ControllerParams::ColourType,
                                static_cast<std::uint8_t>(colourType));
    }
    void SetUp() override { SetScreen(256, 32, 3); }

    CPlayWindow& AddWindow(const LedRect& rect = {0, 0, 64, 32})
    {
        auto window = Program().CreateChild(KindWindow);
        auto* raw = static_cast<CPlayWindow*>(window.get());
        raw->SetWindowRect(rect);
        Program().AddChild(std::move(window));
        return *raw;
    }
    template <typename Zone> Zone& AddZone(int kind, CPlayWindow* window = nullptr)
    {
        CPlayWindow& parent = window ? *window : AddWindow();
        auto zone = parent.CreateChild(kind);
        auto* raw = static_cast<Zone*>(zone.get());
        parent.AddChild(std::move(zone));
        return *raw;
    }

    // A page for the object, as the property host makes it.
    std::unique_ptr<CPropertyPage> Page(CProjectObject& object)
    {
        return std::unique_ptr<CPropertyPage>(CreatePropertyPage(object, doc, nullptr));
    }
    template <typename W> static W* Find(QWidget* page, const char* name)
    {
        auto* widget = page->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Picks the entry with the data as a person would (the activated signal).
    static void Choose(QWidget* page, const char* name, int data)
    {
        auto* combo = Find<QComboBox>(page, name);
        const int index = combo->findData(data);
        ASSERT_GE(index, 0) << name << " " << data;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static int Chosen(QWidget* page, const char* name)
    {
        return Find<QComboBox>(page, name)->currentData().toInt();
    }
};
