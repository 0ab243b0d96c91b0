#pragma once

#include <QString>

// The face new zones use for their texts; the desktop program sets it from the system's
// font when its main window is created.
QString DefaultFontName();
void SetDefaultFontName(const QString& name);
