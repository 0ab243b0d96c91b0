#pragma once

#include <QString>

class ControllerParams;

// "the controller reports 256 x 32 RG; the project's screen is 128 x 32 RG" when the
// controller's parameter block gives another width, height or colour type than the
// project's; empty when they agree. The data is compiled for what the controller reports.
QString ParamsMismatchText(const ControllerParams& project, const ControllerParams& controller);

// "R", "RG" or "RGB" for a colour depth of 1 to 3.
QString ColourTypeName(int depth);
