#pragma once

class CLumivantDoc;

// The tree commands of the document, on the current selection, each one undo step.
// Limits are reported through ShowMessage and leave the project as it was; each returns
// true when it changed the project. Delete and Move have their enabling rule beside them:
// false where the command would do nothing.

// Add Program: on the current screen, at most 200.
bool AddProgram(CLumivantDoc& doc);
// Add Window: an explicit window in the current program (a new program first when there
// is none), at most 16.
bool AddWindow(CLumivantDoc& doc);
// Add a zone of the kind: into the selected explicit window (or the zone's one), else into
// a new implicit window of the program.
bool AddZone(CLumivantDoc& doc, int kind);
// Delete Current Object: never a screen; a zone's implicit window goes with it.
bool DeleteCurrentObject(CLumivantDoc& doc);
bool CanDeleteCurrentObject(const CLumivantDoc& doc);
// Move up / Move down among the siblings; a zone of an implicit window moves its window.
bool MoveCurrentObject(CLumivantDoc& doc, bool up);
bool CanMoveCurrentObject(const CLumivantDoc& doc, bool up);
