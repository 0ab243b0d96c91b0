#include "model/params_mismatch.h"

#include "model/controller_params.h"

namespace {

QString Geometry(const ControllerParams& params)
{
    return QStringLiteral("%1 x %2 %3")
        .arg(params.PanelWidth())
        .arg(params.PanelHeight())
        .arg(ColourTypeName(params.ColourDepth()));
}

} // namespace

QString ColourTypeName(int depth)
{
    switch (depth) {
    case 2:
        return QStringLiteral("RG");
    case 3:
        return QStringLiteral("RGB");
    default:
        return QStringLiteral("R");
    }
}

QString ParamsMismatchText(const ControllerParams& project, const ControllerParams& controller)
{
    if (project.PanelWidth() == controller.PanelWidth() &&
        project.PanelHeight() == controller.PanelHeight() &&
        project.ColourDepth() == controller.ColourDepth())
        return {};
    return QStringLiteral("the controller reports %1; the project's screen is %2")
        .arg(Geometry(controller), Geometry(project));
}
