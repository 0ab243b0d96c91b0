#pragma once

#include <QString>

class CLumivantDoc;
class CScreen;

// What the setup forms store goes through the document as one named undo step each; these
// name the steps and do the one that every form needs.
namespace SetupSteps {

// "<form> of <screen>", for the step of a form's store (the form's title translated).
QString Named(const QString& form, const CScreen& screen);
// Reads the controller's parameter block into the screen (one step when it changed the
// project); true when the controller answered.
bool ReadParams(CLumivantDoc& doc, CScreen& screen);

} // namespace SetupSteps
