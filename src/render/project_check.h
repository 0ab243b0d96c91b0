#pragma once

#include "model/project_finding.h"

#include <QString>

class CProjectObject;
class CProjectRoot;
class CScreen;

// The project checker: everything that will not show the way a project asks for. The
// command-line tool prints it (check, and as warnings before render, compile, send and
// export); the desktop program can list it the same way.

// What a loaded project holds that will not show as expected: windows outside their
// screen or overlapping, entry effects outside the effect list, missing or unreadable
// images, characters no installed font has, live layouts larger than their window, table
// text taller than its rows, screens larger than the setup allows, and (on zones that hold
// pages, so after Prepare) more pages than a zone record carries. And what the sign shows
// otherwise than meant: picture content the key colour turns dark, text and pictures in
// colours the screen cannot show, highlights that turn into bars, lines a zone never shows,
// pictures inside rich text that cannot be drawn, photos that collapse into blocks, faces
// that are not installed. Changes nothing.
//
// Every finding names its object by names (path) and by numbers (place, for a window that
// selects it: ObjectAtPlace).
void CheckProjectTree(const CProjectRoot& root, ProjectFindings& findings);
// The same for one object and what it holds (a screen, a program, a window or a zone),
// for a view that checks again what an edit changed.
void CheckProjectObject(const CProjectObject& object, ProjectFindings& findings);
// What concerns the screen itself (its size), without its programs.
void CheckScreenSettings(const CScreen& screen, ProjectFindings& findings);

// Both the loading findings of the file (what the loader skips or fixes) and the tree's.
ProjectFindings CheckProject(const QString& path, const CProjectRoot& root);
