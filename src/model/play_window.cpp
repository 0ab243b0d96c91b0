#include "model/play_window.h"

#include "model/program.h"
#include "model/property_io.h"

namespace {

// Reads "%d,%d,%d,%d": four decimal numbers, each after optional white space and a sign,
// separated by single commas. Numbers beyond 32 bits saturate.
bool ParseRectText(const QByteArray& text, LedRect& rect)
{
    int* const fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    const char* p = text.constData();
    for (int i = 0; i < 4; ++i) {
        while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
            ++p;
        const char* number = p;
        if (*p == '+' || *p == '-')
            ++p;
        if (*p < '0' || *p > '9')
            return false;
        *fields[i] = ParseDecimal(number);
        while (*p >= '0' && *p <= '9')
            ++p;
        if (i < 3 && *p++ != ',')
            return false;
    }
    return true;
}

} // namespace

CPlayWindow::CPlayWindow(CProjectObject* parent) : CProjectObject(parent)
{
    AssignDefaultName(41005, KindWindow);
    if (parent && parent->GetKind() == KindProgram) {
        if (IsConstructedByLoader())
            m_defaultRectPending = true;
        else
            m_rect = static_cast<CProgram*>(parent)->DefaultWindowRect();
    } else
        m_rect = {0, 0, 64, 32};
}

CPlayWindow::~CPlayWindow() = default;

bool CPlayWindow::SetWindowRect(const LedRect& rect)
{
    if (!rect.IsValid())
        return false;
    m_rect = rect;
    return true;
}

void CPlayWindow::VisitProperties(CPropertyIo& io)
{
    CProjectObject::VisitProperties(io);
    QString rectText;
    if (!io.IsReading())
        rectText = QStringLiteral("%1,%2,%3,%4")
                       .arg(m_rect.left)
                       .arg(m_rect.top)
                       .arg(m_rect.right)
                       .arg(m_rect.bottom);
    if (io.Text("rect", rectText, 64) && io.IsReading()) {
        LedRect rect;
        if (ParseRectText(rectText.toLatin1(), rect) && SetWindowRect(rect))
            m_defaultRectPending = false;
    }
    if (m_defaultRectPending && io.IsReading()) {
        // Still before the window joins its program, as when it was constructed.
        m_defaultRectPending = false;
        if (Parent() && Parent()->GetKind() == KindProgram)
            m_rect = static_cast<CProgram*>(Parent())->DefaultWindowRectWhileLoading();
    }
    io.Int("fe", m_frame.enabled);
    io.Int("ft", m_frame.type);
    io.Int("fs", m_frame.speed);
    io.Int("fd", m_frame.direction);
    io.Int("fc", m_frame.colour);
}
