#pragma once

#include <QIcon>
#include <QString>

// The 16 x 16 icons of the project tree, by an object's image index, and those of the
// toolbar by name (the SVG files under :/icons).
QIcon TreeIcon(int imageIndex);
QIcon CommandIcon(const QString& name);
// The icon of a kind with a small plus, for the Add commands.
QIcon AddIcon(int imageIndex);
