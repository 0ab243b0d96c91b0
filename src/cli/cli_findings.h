#pragma once

#include "model/project_finding.h"

#include <QString>

class CProjectRoot;
class CScreen;

// The line a finding prints as: "PATH: TEXT" (the text alone for the file itself).
QString FindingLine(const ProjectFinding& finding);

// Prints the checker's findings about the project (only those of the screen, when one is
// given) on stderr as warnings: at most 20 lines, then how many more there are. Call it
// after the command's own Prepare where there is one, so that page counts are known.
void WarnAboutProject(const QString& path, const CProjectRoot& root, const CScreen* screen);
