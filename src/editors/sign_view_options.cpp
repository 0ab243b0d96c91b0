#include "editors/sign_view_options.h"

#include "base/app_settings.h"

CSignViewOptions& CSignViewOptions::Instance()
{
    static CSignViewOptions options;
    return options;
}

bool CSignViewOptions::DesignerColours() const
{
    return Settings().designer != 0;
}

bool CSignViewOptions::LedLook() const
{
    return Settings().dots != 0;
}

void CSignViewOptions::SetDesignerColours(bool on)
{
    if (DesignerColours() == on)
        return;
    Settings().designer = on ? 1 : 0;
    emit changed();
}

void CSignViewOptions::SetLedLook(bool on)
{
    if (LedLook() == on)
        return;
    Settings().dots = on ? 1 : 0;
    emit changed();
}
