#include "model/program.h"

#include "model/play_window.h"
#include "model/prepare_hooks.h"
#include "model/property_io.h"
#include "model/screen.h"

#include <algorithm>
#include <climits>

namespace {

template <typename F> void ForEachWindow(const CProjectObject& program, F&& f)
{
    program.ForEachChild([&](CProjectObject& child) {
        if (child.GetKind() == KindWindow)
            f(static_cast<CPlayWindow&>(child));
    });
}

const CScreen* ScreenOf(const CProjectObject* object)
{
    for (; object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object);
    }
    return nullptr;
}

// Two windows overlap when they share a pixel. (Testing only whether one holds a corner of
// the other would miss two windows crossing like a plus sign.)
bool WindowsOverlap(const LedRect& a, const LedRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

CProgram::CProgram(CProjectObject* parent) : CProjectObject(parent)
{
    AssignDefaultName(41001, KindProgram);
}

CProgram::~CProgram() = default;

void CProgram::VisitProperties(CPropertyIo& io)
{
    CProjectObject::VisitProperties(io);
    io.Int("pt", m_schedule.playMode);
    io.Int("time", m_schedule.playTime);
    io.Int("sd", m_schedule.firstDay);
    io.Int("ed", m_schedule.lastDay);
    io.Int("st", m_schedule.startTime);
    io.Int("et", m_schedule.endTime);
    io.Int("wk", m_schedule.weekdays);
    io.Int("fcf", m_border.source);
    io.Int("fenable", m_border.enabled);
    io.Int("fp", m_border.pattern);
    io.Text("fpath", m_border.path, ImageKeyParams::kPathCapacity - 1);
    io.Int("fa", m_border.action);
    io.Int("fs", m_border.step);
    io.Int("fspeed", m_border.speed);
    io.Int("fflat", m_border.flat);
    io.Int("cfcc", m_borderKey.keyColour);
    io.Int("cfnl", m_borderKey.pixelLimit);
    io.Int("cfnr", m_borderKey.tolerance);
    io.Text("cfsf", m_borderKey.sourcePath, ImageKeyParams::kPathCapacity - 1);
}

void CProgram::Prepare(RenderForm form)
{
    PrepareBorder(form);
    CProjectObject::Prepare(form);
}

void CProgram::PrepareBorder(RenderForm form)
{
    m_borderWidth = 0;
    PrepareHooks().PrepareBorder(*this, form);
}

int CProgram::CompiledBorderStep() const
{
    return m_border.flat ? (m_border.step | 0x80) : m_border.step;
}

int CProgram::ScreenWidth() const
{
    const CScreen* screen = ScreenOf(this);
    return screen ? screen->Width() : 0;
}

int CProgram::ScreenHeight() const
{
    const CScreen* screen = ScreenOf(this);
    return screen ? screen->Height() : 0;
}

LedRect CProgram::InnerRect() const
{
    const int b = BorderForLayout();
    return {b, b, ScreenWidth() - b, ScreenHeight() - b};
}

LedRect CProgram::DefaultWindowRect() const
{
    int right = INT_MIN;
    int bottom = INT_MIN;
    ForEachWindow(*this, [&](const CPlayWindow& window) {
        right = std::max(right, window.WindowRect().right);
        bottom = std::max(bottom, window.WindowRect().bottom);
    });
    return DefaultWindowRectAfter(right, bottom);
}

LedRect CProgram::DefaultWindowRectWhileLoading()
{
    // The loader only appends windows and leaves those before alone, so the extent of the
    // windows seen so far only needs the ones added since.
    if (m_loadExtent.windows > GetChildCount())
        m_loadExtent = {};
    for (; m_loadExtent.windows < GetChildCount(); ++m_loadExtent.windows) {
        const CProjectObject* child = GetChild(m_loadExtent.windows);
        if (child->GetKind() != KindWindow)
            continue;
        const LedRect& rect = static_cast<const CPlayWindow*>(child)->WindowRect();
        m_loadExtent.right = std::max(m_loadExtent.right, rect.right);
        m_loadExtent.bottom = std::max(m_loadExtent.bottom, rect.bottom);
    }
    return DefaultWindowRectAfter(m_loadExtent.right, m_loadExtent.bottom);
}

LedRect CProgram::DefaultWindowRectAfter(int right, int bottom) const
{
    const int b = BorderForLayout();
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    int x = std::max(b, right);
    int y = std::max(b, bottom);
    // Rectangles read from a file may reach the end of the int range.
    if (static_cast<long long>(width) - b < static_cast<long long>(x) + b + 64)
        x = b;
    if (static_cast<long long>(height) - b < static_cast<long long>(y) + b + 32)
        y = b;
    LedRect rect{x, y, x + 64, y + 32};
    rect.right = std::min(rect.right, width - b);
    rect.bottom = std::min(rect.bottom, height - b);
    return rect;
}

void CProgram::FitWindows()
{
    const int b = BorderForLayout();
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    ForEachWindow(*this, [&](CPlayWindow& window) {
        LedRect rect = window.WindowRect();
        bool replaced = false;
        if (rect.top < b || rect.top > (height - b) - 4) {
            rect.top = b;
            replaced = true;
        }
        if (rect.left < b || rect.left > (width - b) - 16) {
            rect.left = b;
            replaced = true;
        }
        if (rect.bottom > height - b || rect.bottom < b + 4) {
            rect.bottom = height - b;
            replaced = true;
        }
        if (rect.right > width - b || rect.right < b + 16) {
            rect.right = width - b;
            replaced = true;
        }
        window.SetWindowRect(rect);
        if (window.Width() < 16 || window.Height() < 4) {
            window.SetWindowRect({b, b, b + 16, b + 4});
            window.Prepare(RenderForm::Display);
        } else if (replaced) {
            window.Prepare(RenderForm::Display);
        }
    });
}

bool CProgram::FindOverlap(QString& names) const
{
    const int b = BorderForLayout();
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    std::vector<LedRect> rects;
    ForEachWindow(*this, [&](const CPlayWindow& window) { rects.push_back(window.WindowRect()); });

    bool found = false;
    for (size_t i = 0; i < rects.size() && !found; ++i) {
        const LedRect& a = rects[i];
        if (a.left < b || a.top < b || a.right > width - b || a.bottom > height - b)
            found = true;
        for (size_t j = i + 1; j < rects.size() && !found; ++j)
            found = WindowsOverlap(a, rects[j]);
    }
    if (found) {
        if (!names.isEmpty())
            names += u',';
        names += GetName();
    }
    return found;
}
