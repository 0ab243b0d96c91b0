#pragma once

#include <QString>

class CProjectObject;

// Where a file named in a project (an image, a border picture) is read from: an absolute
// path as it stands; a relative one beside the project file when it is there, else in the
// current folder.
QString ResolveSourcePath(const CProjectObject& object, const QString& path);
