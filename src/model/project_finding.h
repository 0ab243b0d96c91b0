#pragma once

#include <QString>

#include <vector>

// What the project checker found: something the loader fixed or dropped on its own, or
// something that will not show the way the project asks for.
enum class FindingKind : int {
    KeyOrder,       // a key out of the writer's order, skipped by the forward search
    UnknownKey,     // a key no object of the kind reads
    SkippedObject,  // an object element the loader never reaches
    UnknownKind,    // an object of an unknown kind (or one that may not stand there)
    ImplicitWindow, // an implicit window without exactly one zone
    InvalidRect,    // a window rectangle the loader ignores
    OutsideScreen,  // a window outside its screen (or its border)
    Overlap,        // two windows of a program overlapping
    EffectCode,     // an entry effect outside the effect list
    MissingImage,   // an image file that is missing or cannot be read
    TooManyPages,   // more pages than a zone record can carry
    MissingGlyph,   // characters no installed font has (drawn as boxes)
    LayoutCut,      // a live zone's layout wider or taller than its window
    TableRowHeight, // table text taller than its row
    SizeLimit,      // a screen larger than the setup allows
};

struct ProjectFinding
{
    FindingKind kind;
    QString path; // Screen/Program/Window/Zone names, empty for the file itself
    QString text;
};

using ProjectFindings = std::vector<ProjectFinding>;

// A short stable name of the kind ("key-order", "overlap", ...) for machine-read output.
const char* FindingKindName(FindingKind kind);

class CProjectObject;
// The names from the screen down to the object, joined by '/'.
QString ObjectPath(const CProjectObject& object);
