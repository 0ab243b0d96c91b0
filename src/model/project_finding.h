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
    // What the sign shows otherwise than the person meant (from here to the end: callers
    // pick these by comparing with KeyColourLoss).
    KeyColourLoss,     // picture content the key colour turns dark
    UnshownColour,     // text or picture parts in colours the screen cannot show
    NeverShown,        // lines or parts of a text a zone never shows
    UndrawablePicture, // pictures inside rich text that cannot be drawn
    PhotoCollapse,     // a photo whose tones collapse into a few solid blocks
    MissingFace,       // a font face that is not installed (nor stood in for)
};

struct ProjectFinding
{
    FindingKind kind;
    QString path; // Screen/Program/Window/Zone names, empty for the file itself
    QString text;
    QString place; // the object by numbers ("s1/p2/w1/z1"), empty for the file itself
};

using ProjectFindings = std::vector<ProjectFinding>;

// A short stable name of the kind ("key-order", "overlap", ...) for machine-read output.
const char* FindingKindName(FindingKind kind);

class CProjectObject;
// The names from the screen down to the object, joined by '/'.
QString ObjectPath(const CProjectObject& object);
// The object by numbers, each counted from 1 among its kind in its parent: "s1", "s1/p2",
// "s1/p2/w1", "s1/p2/w1/z3" (windows standing for a zone placed in a program count as
// windows). Names need not be unique; places are.
QString ObjectPlace(const CProjectObject& object);
// The object at a place of the tree; null when there is none.
CProjectObject* ObjectAtPlace(CProjectObject& root, const QString& place);
