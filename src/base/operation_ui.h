#pragma once

#include "base/messages.h"

#include <QString>

// How a long controller operation (a send, a search, a firmware update) talks to the
// person: the progress dialog and message boxes of the desktop program, the progress bar
// and prompts of the command-line tool, or a test's recorder.
class IOperationUi {
public:
    virtual ~IOperationUi() = default;

    // The bar runs from 0 to maximum.
    virtual void SetRange(int maximum) = 0;
    // Shows the text with the bar at the position; true when the person asked to cancel.
    virtual bool Update(int position, const QString& text) = 0;
    // A yes/no question.
    virtual Answer Ask(const QString& text) = 0;
    virtual void Inform(const QString& text) = 0;
    virtual void Warn(const QString& text) = 0;
    // The beep that goes with a result or a question.
    virtual void Beep(MessageKind) {}
};
