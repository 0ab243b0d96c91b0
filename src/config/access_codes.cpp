#include "config/access_codes.h"

namespace AccessCodes {

QStringList PanelSetup()
{
    return {QStringLiteral("274")};
}

QStringList AdvancedSetup()
{
    return {QStringLiteral("351"), QStringLiteral("rom742"), QStringLiteral("kx-204")};
}

QStringList ControllerSetup()
{
    return {QStringLiteral("274"), QStringLiteral("351")};
}

QStringList FirmwareUpdate()
{
    return {QStringLiteral("351")};
}

bool Accepts(const QStringList& codes, const QString& typed)
{
    return !typed.isEmpty() && codes.contains(typed, Qt::CaseInsensitive);
}

} // namespace AccessCodes
